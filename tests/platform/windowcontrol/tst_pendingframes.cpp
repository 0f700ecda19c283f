// A key's size and position, gathered per window between two listings: settling finds
// them once, only for a window still listed, and compares only what was asked.
#include "platform/windowcontrol/pendingframes.h"

#include <QRegularExpression>
#include <QTest>

namespace {

struct Listed
{
    int id = 0;
};

QList<Listed> listing(const QList<int>& ids)
{
    QList<Listed> windows;
    for (int id : ids)
        windows.append(Listed{id});
    return windows;
}

const QRect kListed(40, 30, 640, 480);
const QSize kNoSize;
const QPoint kNoPosition(-1, -1);

} // namespace

class tst_PendingFrames : public QObject
{
    Q_OBJECT
private slots:
    void gathered_data()
    {
        QTest::addColumn<int>("index");           // in the listing of windows 7 and 9
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QList<int>>("relisted"); // a listing between the calls and settling
        QTest::addColumn<QRect>("frame");         // the listed frame with the request in place; null: none

        QTest::newRow("both") << 1 << QSize(300, 200) << QPoint(5, 6) << QList<int>{7, 9} << QRect(5, 6, 300, 200);
        QTest::newRow("size keeps the corner") << 1 << QSize(300, 200) << kNoPosition << QList<int>{9}
                                               << QRect(40, 30, 300, 200);
        QTest::newRow("position keeps the size") << 1 << kNoSize << QPoint(0, 0) << QList<int>{9}
                                                 << QRect(0, 0, 640, 480);
        QTest::newRow("a pixel at least") << 1 << QSize(0, -4) << kNoPosition << QList<int>{9} << QRect(40, 30, 1, 1);
        QTest::newRow("window gone before settling") << 1 << QSize(300, 200) << QPoint(5, 6) << QList<int>{7}
                                                     << QRect();
        QTest::newRow("index past the listing") << 2 << QSize(300, 200) << QPoint(5, 6) << QList<int>{7, 9} << QRect();
        QTest::newRow("negative index") << -1 << QSize(300, 200) << kNoPosition << QList<int>{7, 9} << QRect();
    }

    void gathered()
    {
        QFETCH(int, index);
        QFETCH(QSize, size);
        QFETCH(QPoint, position);
        QFETCH(QList<int>, relisted);
        QFETCH(QRect, frame);

        const QList<Listed> windows = listing({7, 9});
        const bool inListing = index >= 0 && index < windows.size();
        const QRegularExpression refused(QStringLiteral("ignored: no window"));
        PendingFrames<Listed> pending;
        if (size != kNoSize) {
            if (!inListing)
                QTest::ignoreMessage(QtWarningMsg, refused);
            QCOMPARE(pending.setSize(windows, index, size), inListing);
        }
        if (position != kNoPosition) {
            if (!inListing)
                QTest::ignoreMessage(QtWarningMsg, refused);
            QCOMPARE(pending.setPosition(windows, index, position), inListing);
        }
        pending.keepListed(listing(relisted));

        const std::optional<PendingFrame> taken = pending.take(9);
        QCOMPARE(taken ? taken->appliedTo(kListed) : QRect(), frame);
        if (taken) {
            // What was asked is compared, what was not is left to the compositor.
            QVERIFY(taken->isMetBy(frame));
            QCOMPARE(taken->isMetBy(frame.adjusted(0, 0, 1, 0)), size == kNoSize);
            QCOMPARE(taken->isMetBy(frame.translated(0, 1)), position == kNoPosition);
        }
        QVERIFY(!pending.take(9));  // once only
        QVERIFY(!pending.take(7));
    }
};

QTEST_GUILESS_MAIN(tst_PendingFrames)
#include "tst_pendingframes.moc"
