#pragma once

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <memory>

class QBuffer;
class QMovie;
template <typename T>
class QFutureWatcher;

namespace Ui {
class DialogIconBuilder;
}

// Frameless dialog that fits a picture to the 150 x 108 key in one of five modes and,
// on OK, stores the result as a new file in the icon folder; animated GIFs are resized
// frame by frame instead, on a worker thread, with a progress bar and Cancel. Only a
// picture that decodes is stored, and files are never replaced: every result gets a
// fresh name. Made for a single modal run by IconBuilder::getOpenFileName.
class DialogIconBuilder : public QDialog
{
    Q_OBJECT
public:
    explicit DialogIconBuilder(QWidget* parent = nullptr);
    ~DialogIconBuilder() override;

    void setImagePath(const QString& path);
    // The picture being edited; after OK, the saved icon (empty after Cancel).
    QString getImagePath() const;
    void setupImage();

    // The current still rendering and the size a GIF is converted to (for the owner's
    // preview and for tests).
    QImage iconImage() const;
    QSize gifSize() const;

    static QImage getIconTransform(const QString& path, int mode);
    // Stores the picture as a new file in the icon folder and makes that the image path:
    // a still as its rendering, a GIF converted (here, synchronously). False (logged)
    // when nothing decodes or nothing could be stored; the image path is then empty.
    bool copyImage();
    // False, with `destination` unchanged, when the GIF cannot be read or written.
    bool gifConvert(const QString& source, const QString& destination, const QSize& size);
    // True while OK's GIF conversion runs on the worker.
    bool isConverting() const;
    // True while a large still renders on the worker; OK is disabled meanwhile.
    bool isRendering() const;
    // Stores `pixmap` cropped to key size as a new PNG in the icon folder and returns its
    // path; empty (logged) when nothing could be stored.
    static QString saveExtAppIcon(const QPixmap& pixmap);

signals:
    void fileChanged(const QString& filePath);

public slots:
    void onBuilderListChanged(int index);
    // Escape and the window's close button cancel like "btnCancel".
    void reject() override;

private slots:
    void on_btnOk_clicked();
    void on_btnCancel_clicked();
    void on_btnOpenFile_clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void showImage(int mode);
    void showGif(const QByteArray& gif);
    void showRendering(const QImage& image, const QString& why);
    void endRendering();
    bool isGifPath() const;
    QImage renderingOf(const QString& path);
    QString claimTarget(const QString& suffix);
    bool storeStill();
    // Nothing stored; `why` (if known) is shown when OK caused it.
    bool giveUp(const QString& why = {});
    void startConversion();
    void onConversionFinished();
    void finishOk(bool stored);

    std::unique_ptr<Ui::DialogIconBuilder> ui;
    int m_pressX = 0;
    int m_pressY = 0;
    bool m_dragging = false;
    QString m_imagePath;
    QImage m_iconImage;
    QString m_iconSource;  // the picture m_iconImage was rendered from
    QSize m_gifSize;
    QMovie* m_movie = nullptr;  // child of this dialog
    QBuffer* m_movieInput = nullptr;  // child; the GIF the movie plays
    bool m_rendering = false;  // a large still renders on the worker
    int m_renderings = 0;  // counts previews asked for; a worker's result must be the latest
    QFutureWatcher<bool>* m_conversion = nullptr;  // child; set while a GIF converts
    QString m_target;                              // the claimed file it writes
    bool m_cancelled = false;
    QString m_problem;  // why the last OK stored nothing
    std::shared_ptr<QString> m_refusal;  // the conversion's reason, from the worker
};
