// Reader and writer of the recent list file: what loads and what is refused
// (with the position reported), escapes both ways, the writer's output, and
// a round trip of every kind of character.

#include "projectfilelist.h"

#include <QtTest>

#include <algorithm>

using namespace vexa::projectfilemgr;

namespace {

// The report of loading file content into list, or empty when it loads.
QString errorOf(STProjectFileList &list, const QByteArray &text)
{
    try {
        ajson::loadFromFileContent(list, text.constData(), std::size_t(text.size()));
    } catch (const ajson::exception &e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

QString report(int line, int col, const char *msg)
{
    return QStringLiteral("error at line :%1 col :%2 msg:%3").arg(line).arg(col).arg(QString::fromUtf8(msg));
}

// One entry whose single member holds value.
QByteArray entry(const QByteArray &key, const QByteArray &value)
{
    return "{\"projects\":[{\"" + key + "\":" + value + "}]}";
}

STProjectFile make(std::string name, std::string path = {}, std::string image = {}, bool damaged = false)
{
    STProjectFile f;
    f.strProfileName = std::move(name);
    f.strProfilePath = std::move(path);
    f.strImagePath = std::move(image);
    f.isDamageFile = damaged;
    return f;
}

} // namespace

class TestJson : public QObject {
    Q_OBJECT
private slots:
    void loads_data();
    void loads();
    void escapesBothWays_data();
    void escapesBothWays();
    void longRunsKeepPositions();
    void nestingIsBounded();
    void fillsInPlaceAndKeepsWhatPrecedesDamage();
    void writerLayoutAndGrowth();
    void everyCodePointRoundTrips();
};

void TestJson::loads_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("name"); // of the first project
    QTest::addColumn<bool>("damaged");    // of the first project
    auto ok = [](const char *tag, const QByteArray &text, int count, const QByteArray &name = {}, bool damaged = false) {
        QTest::newRow(tag) << text << QString() << count << name << damaged;
    };
    auto fails = [](const char *tag, const QByteArray &text, int line, int col, const char *msg, const QByteArray &name = {}) {
        QTest::newRow(tag) << text << report(line, col, msg) << 0 << name << false;
    };
    const char *noRecord = "read object must start with {!", *noKey = "object key must be string", *bad = "invalid json document!",
               *noQuote = "not a valid quote string!", *noComment = "not a comment!", *noString = "not a valid string.";
    fails("empty", QByteArray(), 0, 0, noRecord);
    fails("trailing comma in record", "{\"projects\":[],}", 0, 16, noKey);
    fails("length bounds input", QByteArray::fromRawData("{}}", 1), 0, 1, noKey);
    fails("missing colon", "{\"projects\" []}", 0, 13, bad);
    fails("junk after member", "{\"projects\":[] x}", 0, 16, bad);
    fails("zero byte ends input", QByteArray("{\"x\":1\0,\"projects\":[{}]}", 25), 0, 6, bad);
    fails("skipped array with colon", "{\"x\":[1:2]}", 0, 8, bad);
    fails("skipped array ends early", "{\"x\":[1,2", 0, 9, bad);
    fails("skipped object bad key", "{\"x\":{[:1}}", 0, 7, bad);
    fails("skipped object no colon", "{\"x\":{\"a\" 1}}", 0, 11, bad);
    fails("vector given nul", "{\"projects\":nul}", 0, 15, "array must start with [.");
    fails("elements without comma", "{\"projects\":[{} {}]}", 0, 17, "no valid array!");
    fails("string given number", entry("strProfileName", "-1.5"), 0, 35, noString);
    fails("bool given bracket", entry("isDamageFile", "]"), 0, 30, "not a valid bool.");
    fails("word runs to end", "{\"projects\":[{\"strProfileName\":abc", 0, 34, "not a valid string!");
    fails("line feed in quotes", "{\"projects\":\"ab\ncd\"}", 1, 0, noQuote);
    fails("unclosed quotes", "{\"projects\":\"ab", 0, 15, noQuote);
    fails("backslash at end", "{\"ab\\", 0, 5, noQuote);
    fails("second full stop", "{\"x\":1.2.3}", 0, 8, "not a valid number!");
    fails("slash then letter", "{/x}", 0, 2, noComment);
    fails("unclosed block comment", "{/* abc", 0, 7, noComment);
    fails("opening star does not close", "{/*/}", 0, 5, noComment);
    // Lines count line feeds; columns count bytes since, carriage returns and the mark left out.
    fails("lone carriage returns", "{\r\r\"x\" 1}", 0, 6, bad);
    fails("comment lines, tabs", "// a\n/* b\n c */ {\n\t\t5", 3, 4, noKey);
    fails("line feed first", "\n{\n5", 2, 2, noKey);
    ok("mark and unquoted words", "\xEF\xBB\xBF{projects:[{strProfileName:abc}]}", 1, "abc");
    ok("comments everywhere", "/*a*/{ // b\n\"projects\" /*c*/ : [ {} , /***x**/ {},]//d\n}// tail", 2);
    ok("vector null", "{\"projects\":null,\"after\":1}", 0);
    ok("repeated keys", "{\"projects\":[{\"strProfileName\":a,\"strProfileName\":b}],\"projects\":[{},{}]}", 3, "b");
    ok("unknown members skipped", "{\"version\":3,\"meta\":{\"a\":[1 2 {\"b\":null} [] -4.5e2],1:\"x\" y:{}},\"empty\":,\"projects\":"
       "[{\"extra\":[[[]]],\"strProfileName\":\"n\",\"hostMode\":7,\"none\":}],\"tail\":[,,1,],\"bad\":\"\\q\\u\"}", 1, "n");
    // Case, length and escapes all count: none of these names a member.
    ok("keys match exactly", "{\"projects\":[{\"StrProfileName\":a,\"strProfileNam\":b,\"strProfile\\u004eame\":d}]}", 1);
    ok("word keeps null, quotes, slashes, high bytes", entry("strProfileName", "null\"/\\t\xC3\xA9"), 1, "null\"/\t\xC3\xA9");

    // Strings only read this way; the writer never produces them.
    auto str = [&](const char *tag, QByteArray in, QByteArray out) { ok(tag, entry("strProfileName", '"' + in + '"'), 1, out); };
    str("raw bytes kept", "\t\r\xFF\xC0\xAF\xED\xA0\x80 end", "\t\r\xFF\xC0\xAF\xED\xA0\x80 end");
    str("escaped slash and any case hex", "\\/\\u0041\\u007f\\u07Ff\\u20aC", "/A\x7F\xDF\xBF\xE2\x82\xAC");
    str("lone high", "\\uD83Dx\\uD83D\\n\\uD83D", "\xED\xA0\xBDx\xED\xA0\xBD\n\xED\xA0\xBD");
    str("letter then low", "\\u0041\\uDC00", "A\xED\xB0\x80");
    str("high then high", "\\uD83D\\uD83D\\uDE00", "\xED\xA0\xBD\xF0\x9F\x98\x80");
    str("escaped backslash before u", "\\\\u0041", "\\u0041");
    // Refusals are reported once the token is read, after its closing quote; the member keeps what came before.
    auto refused = [&](const char *tag, const QByteArray &quoted, const QByteArray &kept) {
        fails(tag, entry("strProfileName", '"' + quoted + '"'), 0, 33 + quoted.size(), noString, kept);
    };
    refused("high then short escape", "\\uD83D\\u12", "\xED\xA0\xBD");
    refused("unknown letter", "a\\qb", "a");
    refused("code point zero", "\\n\\u0000", "\n");
    refused("not hex", "\\u00G1", "");

    auto flag = [&](const char *tag, const QByteArray &value, bool set) { ok(tag, entry("isDamageFile", value), 1, {}, set); };
    flag("mixed case word", "tRuE", true);
    flag("truey", "truey", false);
    flag("minus zero", "-0", false);
    // Extremes: huge exponents end at inf or 0 (and soon), integers wrap in 64 bits.
    flag("huge exponent", "1E+++2147483647999", true);
    flag("tiny exponent", "1e-999999999", false);
    flag("integer wraps", "18446744073709551616", false);
    flag("many fraction digits", "0." + QByteArray(200000, '0') + "1", false);
}

void TestJson::loads()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, error);
    STProjectFileList list;
    QCOMPARE(errorOf(list, text), error);
    if (error.isEmpty())
        QTEST(int(list.projects.size()), "count");
    if (!list.projects.empty()) { // also what an element cut short by damage holds
        QTEST(QByteArray::fromStdString(list.projects[0].strProfileName), "name");
        QTEST(list.projects[0].isDamageFile, "damaged");
    }
}

void TestJson::escapesBothWays_data()
{
    QTest::addColumn<QByteArray>("written"); // between the quotes in the file
    QTest::addColumn<QByteArray>("value");
    auto row = [](const char *tag, const QByteArray &written, const QByteArray &value) { QTest::newRow(tag) << written << value; };
    row("named escapes, printable ends", "\\\"\\\\\\b\\t\\n\\f\\r a/b~", "\"\\\b\t\n\f\r a/b~");
    row("other controls", "\\u0001\\u000B\\u001F\\u007F", "\x01\x0B\x1F\x7F");
    row("two and three bytes", "\\u0080\\u00E9\\u0800\\uD7FF\\u6587", "\xC2\x80\xC3\xA9\xE0\xA0\x80\xED\x9F\xBF\xE6\x96\x87");
    row("four bytes", "\\uD800\\uDC00\\uD83D\\uDE00\\uDBFF\\uDFFF", "\xF0\x90\x80\x80\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF");
    // Bytes that are not valid UTF-8 go out as they are; the reader copies them back.
    const QByteArray raw("ab\xFF\xC1\xBF\x80" "c\xC0\xAF\xE0\x9F\xBF\xF0\x80\x80\xAF\xED\xA0\x80\xED\xB0\x80\xF4\x90\x80\x80\xF5\x80");
    row("bad start bytes, overlong, surrogates, above highest", raw, raw);
    row("missing continuation, cut sequence", "\xE2\x82z\\u00E9\xE2\x82", "\xE2\x82z\xC3\xA9\xE2\x82");
}

void TestJson::escapesBothWays()
{
    QFETCH(QByteArray, written);
    QFETCH(QByteArray, value);
    // The members after the name follow intact, so the closing quote was written.
    const QByteArray file = "{\"projects\":[{\"strProfileName\":\"" + written
                            + "\",\"strProfilePath\":\"\",\"strImagePath\":\"\",\"isDamageFile\":false,\"isPinned\":false}]}";
    STProjectFileList list;
    list.projects.push_back(make(value.toStdString()));
    QCOMPARE(QByteArray::fromStdString(ajson::toJson(list)), file);
    STProjectFileList back;
    QCOMPARE(errorOf(back, file), QString());
    QCOMPARE(QByteArray::fromStdString(back.projects[0].strProfileName), value);
}

void TestJson::longRunsKeepPositions()
{
    // Long strings are scanned in blocks; every stop byte must be seen wherever it falls.
    for (int k = 0; k < 48; ++k) {
        const QByteArray run(k, 'a');
        STProjectFileList list;
        QCOMPARE(errorOf(list, "{\"projects\":\"" + run + "\r\t\x01" "bc"), report(0, 13 + k + 4, "not a valid quote string!"));
        QCOMPARE(errorOf(list, "{\"x\":\"" + run + QByteArray(1, '\0') + "\"}"), report(0, 6 + k, "not a valid quote string!"));
        QCOMPARE(errorOf(list, entry("strProfileName", '"' + run + "\\\"" + run + "\\u00e9\"")), QString());
        QCOMPARE(QByteArray::fromStdString(list.projects[0].strProfileName), run + '"' + run + "\xC3\xA9");
    }
}

void TestJson::nestingIsBounded()
{
    const int limit = ajson::JsonReader::kMaxSkipDepth;
    auto nested = [](int depth) { return "{\"x\":" + QByteArray(depth, '[') + QByteArray(depth, ']'); };
    STProjectFileList list;
    QCOMPARE(errorOf(list, nested(limit) + ",\"projects\":[{}]}"), QString());
    // One level more fails right after the bracket that exceeds the limit.
    QCOMPARE(errorOf(list, nested(limit + 1) + "}"), report(0, 5 + limit + 1, "nesting too deep!"));
    // Objects and arrays count alike, and a hostile depth stays an error.
    QByteArray mixed = "{\"x\":";
    for (int i = 0; i < 100000; ++i)
        mixed += (i % 2) ? "{\"k\":" : "[";
    QVERIFY(errorOf(list, mixed).endsWith(QLatin1String("msg:nesting too deep!")));
}

void TestJson::fillsInPlaceAndKeepsWhatPrecedesDamage()
{
    // Elements are appended; a damaged one keeps what was read before the damage and
    // members missing from it their defaults.
    STProjectFileList list;
    list.projects.push_back(make("old"));
    const QByteArray damaged = "{\"projects\":[{\"strProfileName\":one},{\"strProfilePath\":two,\"isDamageFile\":}]}";
    QCOMPARE(errorOf(list, damaged), report(0, 74, "not a valid bool."));
    const auto &p = list.projects;
    QCOMPARE(p.size(), std::size_t(3));
    QCOMPARE(p[1].strProfileName + '|' + p[2].strProfilePath + '|' + p[2].strProfileName, std::string("one|two|"));
}

void TestJson::writerLayoutAndGrowth()
{
    // Only the bound members reach the file, in this order, without spaces.
    STProjectFileList list;
    list.projects.push_back(make("a b", "/p/a b.ptr7", "/img/a.png", true));
    list.projects.push_back(make(std::string("ab\0cd", 5))); // a zero byte ends the content
    QCOMPARE(ajson::toJson(list), std::string("{\"projects\":[{\"strProfileName\":\"a b\",\"strProfilePath\":\"/p/a b.ptr7\","
                                              "\"strImagePath\":\"/img/a.png\",\"isDamageFile\":true,\"isPinned\":false},{\"strProfileName\":\"ab\","
                                              "\"strProfilePath\":\"\",\"strImagePath\":\"\",\"isDamageFile\":false,\"isPinned\":false}]}"));

    // The buffer grows by whole steps of 1024 bytes, also when a single byte does not fit.
    ajson::JsonWriter w;
    const std::string block(1024, 'x');
    w.write(block.data(), block.size());
    w.put('y');
    QCOMPARE(w.capacity(), std::size_t(2048));
    w.write(block.data(), 1000);
    w.writeString(std::string(3000, 'z').c_str(), 3000);
    QCOMPARE(w.capacity(), std::size_t(5120));
    QCOMPARE(std::string(w.data() + 2025, 3) + w.data()[5026], std::string("\"zz\""));
}

void TestJson::everyCodePointRoundTrips()
{
    // Valid text, whatever it holds, is written as printable ASCII and reads back the same.
    STProjectFileList list;
    for (std::uint32_t cp = 1; cp <= 0x10FFFF; cp += cp < 0x800 ? 1 : 61) {
        char buf[4];
        if (cp < 0xD800 || cp > 0xDFFF)
            list.projects.push_back(make(std::string(buf, ajson::detail::putUtf8(buf, cp)), "p\\\"", "", cp & 1));
    }
    const std::string text = ajson::toJson(list);
    QVERIFY(std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; }));
    // Read back through a file, with the byte-order mark a host may add.
    QTemporaryFile file;
    QVERIFY(file.open() && file.write("\xEF\xBB\xBF" + QByteArray::fromStdString(text)) > 0 && file.flush());
    STProjectFileList back;
    ajson::loadFromFile(back, file.fileName().toStdString());
    QCOMPARE(ajson::toJson(back), text);
    // A folder opens on Linux, but it is no file to read: an open failure, not a syntax error.
    QString refusal;
    try { ajson::loadFromFile(back, QDir::tempPath().toStdString()); } catch (const std::logic_error &e) { refusal = e.what(); }
    QCOMPARE(refusal, "can't open file:" + QDir::tempPath());
}

QTEST_GUILESS_MAIN(TestJson)
#include "tst_json.moc"
