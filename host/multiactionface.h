#pragma once

#include <QPixmap>
#include <QWidget>

// The key face of a multi-action key, drawn by the host: the key's icon and title, a
// mark that says "several steps", and while it runs an orange frame with a bar that
// shows how far the run has got.
class MultiActionFace : public QWidget
{
    Q_OBJECT
public:
    explicit MultiActionFace(QWidget* parent = nullptr);

    void setTitle(const QString& title);
    // A picture file; one that cannot be read draws no icon.
    void setIcon(const QString& path);
    void setStepCount(int count);
    // A step that cannot run: the mark says so.
    void setFaulty(bool faulty);
    void setDown(bool down);
    // `step` of `count` is running; -1 when the key is idle.
    void setProgress(int step);
    int progress() const { return m_step; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintMark(QPainter& painter, const QRectF& front) const;

    QString m_title;
    QPixmap m_icon;
    int m_count = 0;
    int m_step = -1;
    bool m_faulty = false;
    bool m_down = false;
};
