// The package's end of the record channel on real descriptors: what a host may hand it,
// and what it must refuse without a crash and with one warning.
#include "platform/recordchannel.h"
#include "testfiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

namespace {
enum class Target { Nothing, NoNumber, Closed, ReadOnly, Pipe, FullDevice, File };

const QJsonObject kRecord{{"kind", "open"}, {"path", "/tmp/a b"}, {"what", "document"}};
}

Q_DECLARE_METATYPE(Target)

class tst_RecordChannel : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QFile::remove(m_dir.filePath("records"));
    }

    void cleanup()
    {
        for (int fd : std::as_const(m_opened))
            ::close(fd);
        m_opened.clear();
    }

    void descriptors_data()
    {
        QTest::addColumn<Target>("target");
        QTest::addColumn<QString>("warning");  // the one warning expected, as a pattern; empty: none
        QTest::addColumn<bool>("writes");      // whether the records reach the file
        QTest::newRow("none named") << Target::Nothing << QString() << false;
        QTest::newRow("no number") << Target::NoNumber << "is no descriptor number" << false;
        QTest::newRow("closed") << Target::Closed << "is not open" << false;
        QTest::newRow("read only") << Target::ReadOnly << "is not open for writing" << false;
        QTest::newRow("pipe") << Target::Pipe << "is a pipe or socket" << false;
        QTest::newRow("write fails") << Target::FullDevice << "cannot write to the record channel" << false;
        QTest::newRow("file") << Target::File << QString() << true;
    }

    void descriptors()
    {
        QFETCH(Target, target);
        QFETCH(QString, warning);
        QFETCH(bool, writes);
        const QString path = m_dir.filePath("records");
        QByteArray named;
        switch (target) {
        case Target::Nothing:
            break;
        case Target::NoNumber:
            named = "3x";
            break;
        case Target::Closed: {
            const int fd = open(path, O_WRONLY | O_CREAT);
            ::close(fd);
            m_opened.removeOne(fd);
            named = QByteArray::number(fd);
            break;
        }
        case Target::ReadOnly:
            QVERIFY(TestFiles::write(path, {}));
            named = QByteArray::number(open(path, O_RDONLY));
            break;
        case Target::Pipe: {
            int ends[2];
            QCOMPARE(::pipe(ends), 0);
            m_opened << ends[0] << ends[1];
            named = QByteArray::number(ends[1]);
            break;
        }
        case Target::FullDevice:
            named = QByteArray::number(open("/dev/full", O_WRONLY));
            break;
        case Target::File:
            named = QByteArray::number(open(path, O_WRONLY | O_CREAT | O_APPEND));
            break;
        }
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(warning)));
        QTest::failOnWarning(QRegularExpression("."));
        RecordChannel channel(named);
        channel.write(kRecord);
        channel.write(kRecord);  // a channel that failed stays quiet
        QCOMPARE(channel.isOpen(), writes);
        if (writes)
            QCOMPARE(TestFiles::lines(path), QStringList(2, R"({"kind":"open","path":"/tmp/a b","what":"document"})"));
    }

    // The channel writes through its own duplicate: the host may close its descriptor, and
    // a file that later gets the same number is never written to.
    void outlivesTheHostsDescriptor()
    {
        const QString records = m_dir.filePath("records");
        const int fd = open(records, O_WRONLY | O_CREAT | O_APPEND);
        RecordChannel channel(QByteArray::number(fd));
        ::close(fd);
        m_opened.removeOne(fd);
        const QString other = m_dir.filePath("user file");
        QVERIFY(TestFiles::write(other, "kept"));
        QCOMPARE(open(other, O_WRONLY | O_APPEND), fd);  // the lowest free number again
        channel.write(kRecord);
        QCOMPARE(TestFiles::lines(records).size(), 1);
        QCOMPARE(TestFiles::read(other), QByteArray("kept"));
    }

private:
    int open(const QString& path, int flags)
    {
        const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, 0600);
        if (fd >= 0)
            m_opened << fd;
        return fd;
    }

    QTemporaryDir m_dir;
    QList<int> m_opened;
};

QTEST_GUILESS_MAIN(tst_RecordChannel)
#include "tst_recordchannel.moc"
