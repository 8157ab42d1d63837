// The string builder: growth in whole chunks, insert and remove within the content, searches
// that never reach into the spare capacity, and its two errors.
#include "core/cStringBuilder.h"

#include <QtTest>

#include <limits>

class StringBuilderTest : public QObject
{
    Q_OBJECT
private slots:
    void capacity()
    {
        cStringBuilder sb;
        QCOMPARE(sb.Length(), 0);
        QCOMPARE(sb.Capacity(), 0);
        QCOMPARE(sb.ChunkSize(), 8192);
        QCOMPARE(sb.toString(), QString());
        sb.Append("");
        QCOMPARE(sb.Capacity(), 0);
        sb.Append("a");
        QCOMPARE(sb.Capacity(), 8192);
        sb.Append(QString(8192, QLatin1Char('b'))); // 8193 in use
        QCOMPARE(sb.Capacity(), 16384);

        cStringBuilder big;
        big.Append(QString(8193, QLatin1Char('x')));
        QCOMPARE(big.Capacity(), 16384);
        big.Remove(0, big.Length());
        QCOMPARE(big.Length(), 0);
        QCOMPARE(big.Capacity(), 16384);
        big.HeapMinimize();
        QCOMPARE(big.Capacity(), 8192);
        big.setChunkSize(10);
        big.setTheString("0123456789ABC"); // fits: capacity never shrinks here
        QCOMPARE(big.Capacity(), 8192);
        big.HeapMinimize(); // 8192 - 13 spare, in steps of 10
        QCOMPARE(big.Capacity(), 22);
        big.Append("DEFGHIJKLMN"); // 24 needed: one more chunk of 10
        QCOMPARE(big.Capacity(), 32);
        QCOMPARE(big.toString(), QStringLiteral("0123456789ABCDEFGHIJKLMN"));
        big.setTheString("");
        QCOMPARE(big.Capacity(), 0);
        QCOMPARE(big.Length(), 0);
    }

    void editing()
    {
        cStringBuilder sb;
        sb.add("x");
        QCOMPARE(sb.toString(), QStringLiteral("x\r\n"));
        sb.setTheString("SELECT * FROM bi_Bill");
        sb.insert(7, "TOP 10 ");
        QCOMPARE(sb.toString(), QStringLiteral("SELECT TOP 10 * FROM bi_Bill"));
        sb.insert(sb.Length(), " BL");
        QCOMPARE(sb.toString(), QStringLiteral("SELECT TOP 10 * FROM bi_Bill BL"));
        sb.Remove(7, 7);
        QCOMPARE(sb.toString(), QStringLiteral("SELECT * FROM bi_Bill BL"));
        QCOMPARE(sb.Length(), 24);

        QCOMPARE(sb.Find("from"), 0);
        QCOMPARE(sb.Find("from", 1, Qt::CaseInsensitive), 10);
        QCOMPARE(sb.Find("B", 0), 18);
        QCOMPARE(sb.Find("B", 19), 23);
        QCOMPARE(sb.Find("b", 1, Qt::CaseInsensitive), 15);
        QCOMPARE(sb.Find("BL ", 1), 0); // would end in the spare capacity

        cStringBuilder compact;
        compact.Append("NoBlanks");
        QCOMPARE(compact.Find(" "), 0);
        compact.Remove(2, 6); // leaves old text behind in the buffer
        QCOMPARE(compact.Find("Blanks"), 0);
    }

    void errors()
    {
        cStringBuilder sb;
        sb.Append("abc");
        try {
            sb.insert(4, "x");
            QFAIL("insert beyond the content");
        } catch (const StringBuilderError& e) {
            QCOMPARE(e.Number(), 9);
        }
        try {
            sb.Remove(1, 3);
            QFAIL("remove beyond the content");
        } catch (const StringBuilderError& e) {
            QCOMPARE(e.Number(), 9);
        }
        QCOMPARE(sb.toString(), QStringLiteral("abc"));

        // Capacity 8192 plus a chunk of 2^31 - 1 leaves the 32-bit range.
        sb.setChunkSize(std::numeric_limits<int>::max());
        try {
            sb.Append(QString(8190, QLatin1Char('d')));
            QFAIL("capacity beyond the 32-bit range");
        } catch (const StringBuilderError& e) {
            QCOMPARE(e.Number(), 6);
        }
        QCOMPARE(sb.Capacity(), 8192);
        sb.Append("d");
        QCOMPARE(sb.toString(), QStringLiteral("abcd"));
    }
};

QTEST_MAIN(StringBuilderTest)
#include "tst_stringbuilder.moc"
