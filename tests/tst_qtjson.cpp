#include "testsupport.h"

#include "qtjson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QScriptEngine>
#include <QSize>
#include <QUrl>

#include <limits>

namespace {

// QVariant's operator== converts between types; these tests care about the
// exact types the reader produces.
bool sameVariant(const QVariant& a, const QVariant& b)
{
    if (a.isValid() != b.isValid() || a.userType() != b.userType())
        return false;
    if (!a.isValid())
        return true;
    if (a.userType() == QMetaType::QVariantList) {
        const QVariantList la = a.toList(), lb = b.toList();
        if (la.size() != lb.size())
            return false;
        for (int i = 0; i < la.size(); ++i)
            if (!sameVariant(la.at(i), lb.at(i)))
                return false;
        return true;
    }
    if (a.userType() == QMetaType::QVariantMap) {
        const QVariantMap ma = a.toMap(), mb = b.toMap();
        if (ma.keys() != mb.keys())
            return false;
        for (auto it = ma.cbegin(); it != ma.cend(); ++it)
            if (!sameVariant(it.value(), mb.value(it.key())))
                return false;
        return true;
    }
    return a == b;
}

QString describe(const QVariant& v)
{
    QString text;
    QDebug(&text) << v;
    return text;
}

#define COMPARE_VARIANT(actual, expected)                                           \
    QVERIFY2(sameVariant(actual, expected),                                         \
             qPrintable(describe(actual) + QLatin1String(" != ") + describe(expected)))

QString nested(int depth, const QString& open, const QString& close)
{
    return open.repeated(depth) + close.repeated(depth);
}

}

class TestQtJson : public QObject {
    Q_OBJECT

private slots:
    void parseResult_data();
    void parseResult();
    void parseFailureShape_data();
    void parseFailureShape();
    void parseStrings_data();
    void parseStrings();
    void parseNumbers_data();
    void parseNumbers();
    void parseDepthLimit_data();
    void parseDepthLimit();

    void serializeValues_data();
    void serializeValues();
    void serializeStrings_data();
    void serializeStrings();
    void serializeNonFinite();
    void serializeFailure_data();
    void serializeFailure();

    void stringsRoundTripAsJsonAndScript_data();
    void stringsRoundTripAsJsonAndScript();
    void serializedMapRoundTrip();
};

void TestQtJson::parseResult_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<bool>("success");

    const QVariantMap a1{{"a", 1ULL}};
    const QVariantList oneTwo{1ULL, 2ULL};

    QTest::newRow("null string") << QString() << QVariant() << true;
    QTest::newRow("empty") << QString("") << QVariant() << false;
    QTest::newRow("whitespace only") << QString(" \t\r\n ") << QVariant() << false;
    QTest::newRow("trailing text") << QString("{\"a\":1} trailing text") << QVariant(a1) << true;
    QTest::newRow("stray commas in list") << QString("[,1,,2,]") << QVariant(oneTwo) << true;
    QTest::newRow("no comma in list") << QString("[1 2]") << QVariant(oneTwo) << true;
    QTest::newRow("stray commas in map") << QString("{,\"a\":1,}") << QVariant(a1) << true;
    QTest::newRow("no comma in map") << QString("{\"a\":1 \"b\":2}")
                                     << QVariant(QVariantMap{{"a", 1ULL}, {"b", 2ULL}}) << true;
    QTest::newRow("repeated key keeps last") << QString("{\"a\":1,\"a\":2}")
                                             << QVariant(QVariantMap{{"a", 2ULL}}) << true;
    QTest::newRow("any first key character") << QString("{ 1a\" : 2 }")
                                             << QVariant(QVariantMap{{"a", 2ULL}}) << true;
    QTest::newRow("literals") << QString(" [true,false,null] ")
                              << QVariant(QVariantList{true, false, QVariant()}) << true;
    QTest::newRow("truex at top") << QString("truex") << QVariant(true) << true;
    QTest::newRow("nested") << QString("{\"b\":[\"x\",{\"c\":-1}],\"a\":{}}")
                            << QVariant(QVariantMap{{"a", QVariantMap()},
                                                    {"b", QVariantList{"x", QVariantMap{{"c", -1LL}}}}})
                            << true;
}

void TestQtJson::parseResult()
{
    QFETCH(QString, json);
    QFETCH(QVariant, expected);
    QFETCH(bool, success);

    bool ok = !success;
    const QVariant result = QtJson::parse(json, ok);
    QCOMPARE(ok, success);
    COMPARE_VARIANT(result, expected);
    COMPARE_VARIANT(QtJson::parse(json), expected);
}

void TestQtJson::parseFailureShape_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<int>("type"); // 0: invalid QVariant

    QTest::newRow("missing value") << QString("{\"a\":}") << int(QMetaType::QVariantMap);
    QTest::newRow("wrong close") << QString("[1,}") << int(QMetaType::QVariantList);
    QTest::newRow("unknown key start") << QString("{ xa\" : 1 }") << int(QMetaType::QVariantMap);
    QTest::newRow("apostrophe key") << QString("{ 'a' : 1 }") << int(QMetaType::QVariantMap);
    QTest::newRow("missing colon") << QString("{\"a\" 1}") << int(QMetaType::QVariantMap);
    QTest::newRow("unclosed map") << QString("{\"a\":1") << int(QMetaType::QVariantMap);
    QTest::newRow("failure deep in map") << QString("{\"a\":[1,{\"b\":]}]}") << int(QMetaType::QVariantMap);
    QTest::newRow("literal glued to text") << QString("[truex]") << int(QMetaType::QVariantList);
    QTest::newRow("plus sign") << QString("+1") << 0;
    QTest::newRow("unclosed string") << QString("\"abc") << 0;
    QTest::newRow("cut in unicode escape") << QString("\"\\u00") << 0;
    QTest::newRow("cut after backslash") << QString("\"ab\\") << 0;
    QTest::newRow("close first") << QString("]") << 0;
    QTest::newRow("capitalised literal") << QString("True") << 0;
    QTest::newRow("fals") << QString("fals") << 0;
    QTest::newRow("non-Latin-1 start") << QString::fromUtf8("\xe2\x80\x9c\x61\xe2\x80\x9d") << 0;
}

void TestQtJson::parseFailureShape()
{
    QFETCH(QString, json);
    QFETCH(int, type);

    bool ok = true;
    const QVariant result = QtJson::parse(json, ok);
    QVERIFY(!ok);
    if (type == 0) {
        QVERIFY(!result.isValid());
    } else {
        QCOMPARE(result.userType(), type);
        QVERIFY(result.toList().isEmpty() && result.toMap().isEmpty());
    }
}

void TestQtJson::parseStrings_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("expected");

    QTest::newRow("unknown escape dropped") << QString("\"a\\qb\"") << QString("ab");
    QTest::newRow("unicode escape") << QString("\"\\u0041\"") << QString("A");
    QTest::newRow("bad hex gives NUL") << QString("\"\\uZZZZ\"") << QString(QChar(0));
    QTest::newRow("short escapes") << QString("\"\\\"\\\\\\/\\b\\f\\n\\r\\t\"")
                                   << QString("\"\\/\b\f\n\r\t");
    QTest::newRow("surrogate pair") << QString("\"\\ud83d\\ude00\"") << QString::fromUtf8("\xf0\x9f\x98\x80");
    QTest::newRow("raw controls and non-ASCII") << QString::fromUtf8("\"\t\x01\xc3\xa9\"")
                                                << QString::fromUtf8("\t\x01\xc3\xa9");
}

void TestQtJson::parseStrings()
{
    QFETCH(QString, json);
    QFETCH(QString, expected);

    bool ok = false;
    const QVariant result = QtJson::parse(json, ok);
    QVERIFY(ok);
    QCOMPARE(result.userType(), int(QMetaType::QString));
    QCOMPARE(result.toString(), expected);
}

void TestQtJson::parseNumbers_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("negative") << QString("-12") << QVariant(-12LL);
    QTest::newRow("positive") << QString("12") << QVariant(12ULL);
    QTest::newRow("unsigned max") << QString("18446744073709551615")
                                  << QVariant(std::numeric_limits<qulonglong>::max());
    QTest::newRow("signed min") << QString("-9223372036854775808")
                                << QVariant(std::numeric_limits<qlonglong>::min());
    QTest::newRow("fraction") << QString("0.5") << QVariant(0.5);
    QTest::newRow("fraction and exponent") << QString("1.5e3") << QVariant(1500.0);
    QTest::newRow("exponent") << QString("1e5") << QVariant(1e5);
    QTest::newRow("upper exponent with sign") << QString("2E+3") << QVariant(2000.0);
    QTest::newRow("negative exponent") << QString("-1e-2") << QVariant(-0.01);
    QTest::newRow("as written") << QString("1e+21") << QVariant(1e21);
    QTest::newRow("malformed unsigned") << QString("12-3") << QVariant(0ULL);
    QTest::newRow("malformed double") << QString("1.2.3") << QVariant(0.0);
    QTest::newRow("malformed signed") << QString("--5") << QVariant(0LL);
    QTest::newRow("bare exponent") << QString("1e") << QVariant(0.0);
    QTest::newRow("unsigned overflow") << QString("18446744073709551616") << QVariant(0ULL);
    QTest::newRow("double overflow") << QString("1e400") << QVariant(0.0);
    QTest::newRow("surrounding whitespace") << QString(" 7 ") << QVariant(7ULL);
}

void TestQtJson::parseNumbers()
{
    QFETCH(QString, json);
    QFETCH(QVariant, expected);

    bool ok = false;
    COMPARE_VARIANT(QtJson::parse(json, ok), expected);
    QVERIFY(ok);

    // The same inside a list, where the scan must stop before the next token.
    const QVariant inList = QtJson::parse(QLatin1Char('[') + json + QLatin1String(",true]"), ok);
    QVERIFY(ok);
    COMPARE_VARIANT(inList.toList().value(0), expected);
}

void TestQtJson::parseDepthLimit_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<bool>("success");
    QTest::addColumn<int>("type");

    const int list = QMetaType::QVariantList;
    const int map = QMetaType::QVariantMap;
    QTest::newRow("512 lists") << nested(512, "[", "]") << true << list;
    QTest::newRow("513 lists") << nested(513, "[", "]") << false << list;
    QTest::newRow("512 maps") << nested(511, "{\"k\":", "}").insert(511 * 5, "{}") << true << map;
    QTest::newRow("513 maps") << nested(512, "{\"k\":", "}").insert(512 * 5, "{}") << false << map;
    QTest::newRow("513 mixed") << QString("{\"k\":") + nested(512, "[", "]") + "}" << false << map;
    QTest::newRow("very deep, unclosed") << QString("[").repeated(1000000) << false << list;
    QTest::newRow("very deep maps") << QString("{\"\":").repeated(300000) << false << map;
}

void TestQtJson::parseDepthLimit()
{
    QFETCH(QString, json);
    QFETCH(bool, success);
    QFETCH(int, type);

    bool ok = !success;
    const QVariant result = QtJson::parse(json, ok);
    QCOMPARE(ok, success);
    QCOMPARE(result.userType(), type);
    if (!success) {
        QVERIFY(result.toList().isEmpty() && result.toMap().isEmpty());
        return;
    }
    int depth = 0;
    for (QVariant v = result; v.userType() == type; ++depth)
        v = type == QMetaType::QVariantList ? v.toList().value(0) : v.toMap().value("k");
    QCOMPARE(depth, 512);
}

void TestQtJson::serializeValues_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("invalid") << QVariant() << QByteArray("null");
    QTest::newRow("empty list") << QVariant(QVariantList()) << QByteArray("[  ]");
    QTest::newRow("empty map") << QVariant(QVariantMap()) << QByteArray("{  }");
    QTest::newRow("empty hash") << QVariant(QVariantHash()) << QByteArray("{  }");
    QTest::newRow("list") << QVariant(QVariantList{1, 2}) << QByteArray("[ 1, 2 ]");
    QTest::newRow("string list") << QVariant(QStringList{"x", "y"}) << QByteArray("[ \"x\", \"y\" ]");
    QTest::newRow("map") << QVariant(QVariantMap{{"b", QVariantList{"x", true}}, {"a", 1}})
                         << QByteArray("{ \"a\" : 1, \"b\" : [ \"x\", true ] }");
    QTest::newRow("hash") << QVariant(QVariantHash{{"k", QVariantList()}}) << QByteArray("{ \"k\" : [  ] }");
    QTest::newRow("double 1") << QVariant(1.0) << QByteArray("1.0");
    QTest::newRow("double -2") << QVariant(-2.0) << QByteArray("-2.0");
    QTest::newRow("double 100") << QVariant(100.0) << QByteArray("100.0");
    QTest::newRow("double 0.5") << QVariant(0.5) << QByteArray("0.5");
    QTest::newRow("double 0.8") << QVariant(0.8) << QByteArray("0.80000000000000004441");
    QTest::newRow("double 1e21") << QVariant(1e21) << QByteArray("1e+21");
    QTest::newRow("double 1e-5") << QVariant(1e-5) << QByteArray("1.0000000000000000818e-05");
    QTest::newRow("float 0.5") << QVariant(0.5f) << QByteArray("0.5");
    QTest::newRow("float 2") << QVariant(2.0f) << QByteArray("2.0");
    QTest::newRow("float 0.1") << QVariant(0.1f) << QByteArray::number(double(0.1f), 'g', 20);
    QTest::newRow("true") << QVariant(true) << QByteArray("true");
    QTest::newRow("false") << QVariant(false) << QByteArray("false");
    QTest::newRow("qlonglong") << QVariant(-5LL) << QByteArray("-5");
    QTest::newRow("int") << QVariant(7) << QByteArray("7");
    QTest::newRow("qulonglong") << QVariant(7ULL) << QByteArray("7");
    QTest::newRow("qulonglong max") << QVariant(std::numeric_limits<qulonglong>::max())
                                    << QByteArray("18446744073709551615");
    QTest::newRow("char as number") << QVariant::fromValue<char>('A') << QByteArray("65");
    QTest::newRow("byte array") << QVariant(QByteArray("b\"y")) << QByteArray("\"b\\\"y\"");
    QTest::newRow("url as string") << QVariant(QUrl("http://x/y")) << QByteArray("\"http://x/y\"");
}

void TestQtJson::serializeValues()
{
    QFETCH(QVariant, value);
    QFETCH(QByteArray, expected);

    bool ok = false;
    QCOMPARE(QtJson::serialize(value, ok), expected);
    QVERIFY(ok);
    QCOMPARE(QtJson::serialize(value), expected);
}

void TestQtJson::serializeStrings_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("short escapes") << QString("q\"b\\t\tn\nr\rb\bf\f")
                                   << QByteArray("\"q\\\"b\\\\t\\tn\\nr\\rb\\bf\\f\"");
    QTest::newRow("solidus and non-ASCII kept") << QString::fromUtf8("a/b \xc3\xa9")
                                                << QByteArray("\"a/b \xc3\xa9\"");
    QTest::newRow("other controls") << QString::fromUtf8("\x01\x1f\x7f\xc2\x85")
                                    << QByteArray("\"\\u0001\\u001f\\u007f\\u0085\"");
    QTest::newRow("NUL") << QString(QChar(0)) << QByteArray("\"\\u0000\"");
    QTest::newRow("line separators") << QString::fromUtf8("a\xe2\x80\xa8" "b\xe2\x80\xa9")
                                     << QByteArray("\"a\\u2028b\\u2029\"");
    QTest::newRow("closing tag") << QString("</script><//") << QByteArray("\"<\\/script><\\//\"");
    QTest::newRow("backslash then solidus") << QString("<\\/") << QByteArray("\"<\\\\/\"");
    QTest::newRow("surrogate pair kept") << QString::fromUtf8("\xf0\x9f\x98\x80")
                                         << QByteArray("\"\xf0\x9f\x98\x80\"");
    QTest::newRow("unpaired surrogates") << (QString(QChar(0xDC00)) + QChar(0xD800))
                                         << QByteArray("\"\\udc00\\ud800\"");
}

void TestQtJson::serializeStrings()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, expected);

    QCOMPARE(QtJson::serialize(value), expected);
    // Map keys are written the same way.
    QCOMPARE(QtJson::serialize(QVariantMap{{value, true}}), "{ " + expected + " : true }");
}

void TestQtJson::serializeNonFinite()
{
    const double inf = std::numeric_limits<double>::infinity();
    const QVariantList values{std::numeric_limits<double>::quiet_NaN(), inf, -inf,
                              std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()};
    bool ok = false;
    QCOMPARE(QtJson::serialize(values, ok), QByteArray("[ null, null, null, null, null ]"));
    QVERIFY(ok);
    QCOMPARE(QtJson::serialize(QVariantMap{{"x", -inf}}), QByteArray("{ \"x\" : null }"));
}

void TestQtJson::serializeFailure_data()
{
    QTest::addColumn<QVariant>("value");

    const QVariant size = QSize(1, 2);
    QTest::newRow("top level") << size;
    QTest::newRow("in map") << QVariant(QVariantMap{{"a", 1}, {"b", size}, {"c", 2}});
    QTest::newRow("in hash") << QVariant(QVariantHash{{"a", size}});
    QTest::newRow("in list") << QVariant(QVariantList{1, size});
    QTest::newRow("deep") << QVariant(QVariantMap{{"a", QVariantList{QVariantMap{{"b", size}}}}});
}

void TestQtJson::serializeFailure()
{
    QFETCH(QVariant, value);

    bool ok = true;
    const QByteArray text = QtJson::serialize(value, ok);
    QVERIFY(!ok);
    QVERIFY(text.isNull());
    QVERIFY(QtJson::serialize(value).isNull());
}

void TestQtJson::stringsRoundTripAsJsonAndScript_data()
{
    QTest::addColumn<QString>("value");

    QString latin1;
    for (ushort c = 0; c <= 0xFF; ++c)
        latin1 += QChar(c);
    QTest::newRow("every Latin-1 character") << latin1;
    QTest::newRow("script ends") << QString("</script></SCRIPT><!-- -->");
    QTest::newRow("escapes spelt out") << QString("\\u0041 \\n \\/ \\\\");
    QTest::newRow("line separators") << (QString(QChar(0x2028)) + "x" + QChar(0x2029));
    QTest::newRow("astral") << QString::fromUtf8("\xf0\x9f\x98\x80 \xe6\xbc\xa2");
}

void TestQtJson::stringsRoundTripAsJsonAndScript()
{
    QFETCH(QString, value);

    const QVariantMap map{{value, QVariantList{value}}};
    const QByteArray text = QtJson::serialize(map);

    // One line, no raw control characters, nothing that ends a script element.
    for (char c : text)
        QVERIFY2(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f, text.constData());
    QVERIFY(!text.contains("</"));

    // The reader gives the value back unchanged.
    bool ok = false;
    COMPARE_VARIANT(QtJson::parse(QString::fromUtf8(text), ok), QVariant(map));
    QVERIFY(ok);

    // Strict JSON ...
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(doc.object().value(value).toArray().at(0).toString(), value);

    // ... and a JavaScript literal with the same value.
    QScriptEngine engine;
    engine.globalObject().setProperty("expected", value);
    const QScriptValue same = engine.evaluate(
        QLatin1String("var o = (") + QString::fromUtf8(text) + QLatin1String("); o[expected][0] === expected"));
    QVERIFY2(!engine.hasUncaughtException(), qPrintable(same.toString()));
    QVERIFY(same.toBool());
}

void TestQtJson::serializedMapRoundTrip()
{
    const QVariantMap map{
        {"name", "Font \"Awesome\"\t/ \xc3\xa9"},
        {"shadow", true},
        {"off", false},
        {"size", 42},
        {"offset", -3},
        {"opacity", 0.35},
        {"empty", QVariantMap()},
        {"none", QVariantList()},
        {"nested", QVariantMap{{"list", QVariantList{"a", 1, QVariantMap{{"k", "v"}}, QVariantList{false}}}}},
    };
    bool ok = false;
    const QByteArray first = QtJson::serialize(map, ok);
    QVERIFY(ok);
    const QVariant parsed = QtJson::parse(QString::fromUtf8(first), ok);
    QVERIFY(ok);
    QCOMPARE(QtJson::serialize(parsed), first);
    QCOMPARE(parsed.toMap().value("opacity").toDouble(), 0.35);
    QCOMPARE(parsed.toMap().value("offset").userType(), int(QMetaType::LongLong));

    // Floats and large doubles come back as the same doubles.
    const QVariantList numbers{0.1f, 1e21, -1e-300, 123456789.125f, 3.0};
    const QVariantList back = QtJson::parse(QString::fromUtf8(QtJson::serialize(numbers)), ok).toList();
    QVERIFY(ok);
    QCOMPARE(back.size(), numbers.size());
    for (int i = 0; i < numbers.size(); ++i) {
        QCOMPARE(back.at(i).userType(), int(QMetaType::Double));
        QCOMPARE(back.at(i).toDouble(), numbers.at(i).toDouble());
    }
}

PICTAVO_TEST_MAIN(TestQtJson)

#include "tst_qtjson.moc"
