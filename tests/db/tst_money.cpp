// Money in fixed point: amounts that leave its range fail instead of wrapping round, and every
// figure shown rounds half away from zero on its decimal value.
#include "db/Money.h"

#include <QTest>

#include <cmath>
#include <limits>

class TestMoney : public QObject
{
    Q_OBJECT
private slots:
    // Half a cent that a double holds a hair below the half (106.335 is 106.33499999...) rounds
    // up, as do the negative halves, away from zero; the figures of the BOM report and the
    // department item statistics among them.
    void halvesRoundAwayFromZero()
    {
        QCOMPARE(DecimalText(106.335, 2), QString("106.34"));
        QCOMPARE(DecimalText(1480.725, 2, true), QString("1,480.73"));
        QCOMPARE(DecimalText((2415.60 - 100.98) / 12, 2), QString("192.89"));
        QCOMPARE(DecimalText(-106.335, 2), QString("-106.34"));
        QCOMPARE(DecimalText(2.5, 0), QString("3"));
        QCOMPARE(DecimalText(-0.5, 0), QString("-1"));
        QCOMPARE(DecimalText(0.125, 2), QString("0.13"));
        QCOMPARE(DecimalText(999.995, 2, true), QString("1,000.00"));
        QCOMPARE(DecimalText(0.1 + 0.2, 2), QString("0.30"));
        QCOMPARE(DecimalText(0.000149, 4), QString("0.0001"));
        QCOMPARE(DecimalText(1234567.4, 0, true), QString("1,234,567"));
        QCOMPARE(DecimalText(1e15, 2, true), QString("1,000,000,000,000,000.00"));
        QCOMPARE(DecimalText(-0.004, 2), QString("0.00")); // never "-0.00"
        QCOMPARE(DecimalText(0, 0), QString("0"));
        // In fixed point the same rule: 1,480.7250 and a negative half cent.
        QCOMPARE(Money::fromString(u"1480.725").toString(2, true), QString("1,480.73"));
        QCOMPARE(Money::fromString(u"-0.005").toString(2), QString("-0.01"));
        QCOMPARE(Money::fromString(u"-0.005").rounded(2), Money::fromString(u"-0.01"));
        QCOMPARE(Money::fromDouble(106.335).units(), 1063350);
    }

    // The range ends at ±922,337,203,685,477.5807: one unit beyond it, by a sum, a product, a
    // conversion or a text, fails; a failure names its column once someone knows it.
    void overflowFails()
    {
        const Money max = Money::fromUnits(std::numeric_limits<std::int64_t>::max());
        const Money unit = Money::fromUnits(1);
        QCOMPARE(max.toString(4, true), QString("922,337,203,685,477.5807"));
        QVERIFY_THROWS_EXCEPTION(MoneyOverflow, max + unit);
        QVERIFY_THROWS_EXCEPTION(MoneyOverflow, -max - unit - unit);
        QVERIFY_THROWS_EXCEPTION(MoneyOverflow, max * 2);
        Money sum;
        QVERIFY_THROWS_EXCEPTION(MoneyOverflow, sum -= -max - unit);
        QCOMPARE(sum, Money()); // a failed sum leaves its accumulator as it was

        // A bill of 10^15 cannot be held at all; nine of 10^14 can, the tenth cannot.
        QVERIFY_THROWS_EXCEPTION(MoneyOverflow, Money::fromDouble(1e15));
        QVERIFY_THROWS_EXCEPTION(MoneyOverflow, Money::fromVariant(QVariant(qlonglong(1e15))));
        QVERIFY_THROWS_EXCEPTION(MoneyOverflow, Money::fromVariant(QVariant(1e15)));
        QVERIFY_THROWS_EXCEPTION(MoneyOverflow, Money::fromVariant(QVariant("1000000000000000")));
        QVERIFY_THROWS_EXCEPTION(MoneyOverflow, Money::fromString(u"99999999999999999999999"));
        QVERIFY_THROWS_EXCEPTION(MoneyOverflow, Money::fromString(u"922337203685477.5808"));
        QCOMPARE(Money::fromString(u"-922337203685477.5807"), -max);
        QVERIFY_THROWS_EXCEPTION(MoneyOverflow, Money::fromDouble(std::nan("")));
        QVERIFY_THROWS_EXCEPTION(MoneyOverflow,
                                 Money::fromDouble(std::numeric_limits<double>::infinity()));
        Money total;
        for (int i = 0; i < 9; ++i)
            total += Money::fromDouble(1e14);
        QCOMPARE(total.toString(2, true), QString("900,000,000,000,000.00"));
        QVERIFY_THROWS_EXCEPTION(MoneyOverflow, total += Money::fromDouble(1e14));
        QVERIFY_THROWS_EXCEPTION(MoneyOverflow, max.rounded(0)); // 922,337,203,685,478

        try {
            MoneyInColumn(QStringLiteral("SumPaid"), [&] { return total + total; });
            QFAIL("no overflow");
        } catch (const MoneyOverflow& e) {
            QCOMPARE(e.column(), QString("SumPaid"));
            QVERIFY(QString::fromUtf8(e.what()).contains("\"SumPaid\""));
        }
    }
};

QTEST_APPLESS_MAIN(TestMoney)
#include "tst_money.moc"
