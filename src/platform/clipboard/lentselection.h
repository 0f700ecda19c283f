#pragma once

#include <QByteArray>
#include <QObject>
#include <QVector>

#include <utility>

// A way to lend the clipboard of a Wayland session to a text without the keyboard focus
// (the compositor's data control, the portal's clipboard): lend() keeps what the
// clipboard holds and offers the text, read() tells when a client fetches it, giveBack()
// offers the kept content again unless another owner took the clipboard in between.
class LentSelection : public QObject
{
    Q_OBJECT
public:
    using Formats = QVector<std::pair<QByteArray, QByteArray>>;  // MIME type, bytes

    ~LentSelection() override = default;

    // False when the clipboard cannot be set now: the paste must take another way.
    virtual bool lend(const QString& text) = 0;
    // False when another owner has the clipboard now: it is left as it is.
    virtual bool giveBack() = 0;

signals:
    void read();

protected:
    LentSelection() = default;

    // The text in the types a paste target asks for.
    static Formats textFormats(const QString& text);
    // Our own content, copied in process: the desktop would ask us for it, and we would
    // be waiting on ourselves. False when another program owns the clipboard.
    static bool ownContent(Formats& out);
    static QByteArray bytesFor(const Formats& formats, const QByteArray& type);
};
