// A key's size and position, gathered per window between two listings: what settling
// the window then finds, once, and only for a window still listed.
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

} // namespace

class tst_PendingFrames : public QObject
{
    Q_OBJECT
private slots:
    void gathered_data()
    {
        QTest::addColumn<int>("index");           // in the listing of windows 7 and 9
        QTest::addColumn<QSize>("size");          // invalid: none asked
        QTest::addColumn<QPoint>("position");     // (-1, -1): none asked
        QTest::addColumn<QList<int>>("relisted"); // what a listing between the calls and settling shows
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QRect>("frame");         // the listed frame with the request in place; null: none

        const QPoint none(-1, -1);
        QTest::newRow("size and position") << 1 << QSize(300, 200) << QPoint(5, 6) << QList<int>{7, 9} << true
                                           << QRect(5, 6, 300, 200);
        QTest::newRow("size keeps the corner") << 1 << QSize(300, 200) << none << QList<int>{9} << true
                                               << QRect(40, 30, 300, 200);
        QTest::newRow("position keeps the size") << 1 << QSize() << QPoint(0, 0) << QList<int>{9, 7} << true
                                                 << QRect(0, 0, 640, 480);
        QTest::newRow("no size smaller than a pixel") << 1 << QSize(0, -4) << none << QList<int>{9} << true
                                                      << QRect(40, 30, 1, 1);
        QTest::newRow("window gone before settling") << 1 << QSize(300, 200) << QPoint(5, 6) << QList<int>{7} << true
                                                     << QRect();
        QTest::newRow("nothing listed before settling") << 1 << QSize(300, 200) << none << QList<int>{} << true
                                                        << QRect();
        QTest::newRow("index past the listing") << 2 << QSize(300, 200) << QPoint(5, 6) << QList<int>{7, 9} << false
                                                << QRect();
        QTest::newRow("negative index") << -1 << QSize(300, 200) << none << QList<int>{7, 9} << false << QRect();
    }

    void gathered()
    {
        QFETCH(int, index);
        QFETCH(QSize, size);
        QFETCH(QPoint, position);
        QFETCH(QList<int>, relisted);
        QFETCH(bool, accepted);
        QFETCH(QRect, frame);

        PendingFrames<Listed> pending;
        const QList<Listed> windows = listing({7, 9});
        const auto expectRefusal = [&] {
            if (!accepted)
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("ignored: no window")));
        };
        if (size != QSize()) {
            expectRefusal();
            QCOMPARE(pending.setSize(windows, index, size), accepted);
        }
        if (position != QPoint(-1, -1)) {
            expectRefusal();
            QCOMPARE(pending.setPosition(windows, index, position), accepted);
        }
        pending.keepListed(listing(relisted));

        const std::optional<PendingFrame> taken = pending.take(9);
        QCOMPARE(taken.has_value(), !frame.isNull());
        if (taken)
            QCOMPARE(taken->appliedTo(kListed), frame);
        QVERIFY(!pending.take(9));  // taken once only
        QVERIFY(!pending.take(7));  // nothing asked of the other window
    }

    // Only what was asked is compared: a compositor's own placement of the rest stands.
    void isMetBy_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<bool>("met");

        const QPoint none(-1, -1);
        QTest::newRow("nothing asked") << QSize() << none << kListed << true;
        QTest::newRow("size reached, elsewhere") << QSize(640, 480) << none << QRect(900, 700, 640, 480) << true;
        QTest::newRow("a pixel short") << QSize(640, 480) << none << QRect(40, 30, 639, 480) << false;
        QTest::newRow("corner reached, other size") << QSize() << QPoint(40, 30) << QRect(40, 30, 10, 10) << true;
        QTest::newRow("size reached, corner not") << QSize(640, 480) << QPoint(41, 30) << kListed << false;
        QTest::newRow("both reached") << QSize(640, 480) << QPoint(40, 30) << kListed << true;
    }

    void isMetBy()
    {
        QFETCH(QSize, size);
        QFETCH(QPoint, position);
        QFETCH(QRect, frame);
        QFETCH(bool, met);

        PendingFrame request;
        if (size != QSize())
            request.size = size;
        if (position != QPoint(-1, -1))
            request.position = position;
        QCOMPARE(request.isMetBy(frame), met);
    }
};

QTEST_GUILESS_MAIN(tst_PendingFrames)
#include "tst_pendingframes.moc"
