// Reader and writer of the recent list file: token positions, member binding,
// escapes, the writer's output, and write-then-read round trips.

#include "projectfilelist.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

using vexa::projectfilemgr::STProjectFile;
using vexa::projectfilemgr::STProjectFileList;

namespace {

// Record with every member kind, bound with an untidy name list.
struct STSample {
    std::string name;
    bool flag = false;
    std::string path = "kept";
};

} // namespace

AJSON(STSample, name,
      flag ,	path)

namespace {

// The report text of loading text into list, or empty when it loads.
QString errorOf(STProjectFileList &list, const QByteArray &text)
{
    try {
        ajson::loadFromBuffer(list, text.constData(), std::size_t(text.size()));
    } catch (const ajson::exception &e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

QString errorOf(const QByteArray &text)
{
    STProjectFileList list;
    return errorOf(list, text);
}

QString report(int line, int col, const char *msg)
{
    return QStringLiteral("error at line :%1 col :%2 msg:%3").arg(line).arg(col).arg(QString::fromUtf8(msg));
}

STProjectFileList load(const QByteArray &text)
{
    STProjectFileList list;
    ajson::loadFromBuffer(list, text.constData(), std::size_t(text.size()));
    return list;
}

// One entry whose single member holds value.
QByteArray entry(const QByteArray &key, const QByteArray &value)
{
    return "{\"projects\":[{\"" + key + "\":" + value + "}]}";
}

STProjectFile make(std::string name, std::string path, std::string image, bool damaged)
{
    STProjectFile f;
    f.strProfileName = std::move(name);
    f.strProfilePath = std::move(path);
    f.strImagePath = std::move(image);
    f.isDamageFile = damaged;
    return f;
}

} // namespace

// ---------------------------------------------------------------------------
class TokensAndPositions : public QObject {
    Q_OBJECT
private slots:
    void failureReports_data();
    void failureReports();
    void acceptedLayouts_data();
    void acceptedLayouts();
    void zeroByteEndsInput();
    void longRunsKeepPositions();
    void nestingIsBounded();
    void extremeNumbersStayCheap();
};

void TokensAndPositions::failureReports_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QByteArray() << report(0, 0, "read object must start with {!");
    QTest::newRow("blank lines") << QByteArray("   \n  ") << report(1, 3, "read object must start with {!");
    QTest::newRow("array at top") << QByteArray("[]") << report(0, 1, "read object must start with {!");
    QTest::newRow("number key") << QByteArray("{1:2}") << report(0, 2, "object key must be string");
    QTest::newRow("trailing comma in record") << QByteArray("{\"projects\":[],}") << report(0, 16, "object key must be string");
    QTest::newRow("key then end") << QByteArray("{\"projects\"") << report(0, 11, "invalid json document!");
    QTest::newRow("missing colon") << QByteArray("{\"projects\" []}") << report(0, 13, "invalid json document!");
    QTest::newRow("junk after member") << QByteArray("{\"projects\":[] x}") << report(0, 16, "invalid json document!");
    QTest::newRow("value missing at end") << QByteArray("{\"x\":") << report(0, 5, "invalid json document!");
    QTest::newRow("skipped array with colon") << QByteArray("{\"x\":[1:2]}") << report(0, 8, "invalid json document!");
    QTest::newRow("skipped array with brace") << QByteArray("{\"x\":[1}") << report(0, 8, "invalid json document!");
    QTest::newRow("skipped array ends early") << QByteArray("{\"x\":[1,2") << report(0, 9, "invalid json document!");
    QTest::newRow("skipped object bad key") << QByteArray("{\"x\":{[:1}}") << report(0, 7, "invalid json document!");
    QTest::newRow("skipped object no colon") << QByteArray("{\"x\":{\"a\" 1}}") << report(0, 11, "invalid json document!");
    QTest::newRow("vector given object") << QByteArray("{\"projects\":{}}") << report(0, 13, "array must start with [.");
    QTest::newRow("vector given number") << QByteArray("{\"projects\":3}") << report(0, 13, "array must start with [.");
    QTest::newRow("vector given nul") << QByteArray("{\"projects\":nul}") << report(0, 15, "array must start with [.");
    QTest::newRow("elements without comma") << QByteArray("{\"projects\":[{} {}]}") << report(0, 17, "no valid array!");
    QTest::newRow("element not a record") << QByteArray("{\"projects\":[1]}") << report(0, 14, "read object must start with {!");
    QTest::newRow("double comma in vector") << QByteArray("{\"projects\":[{},,]}") << report(0, 17, "read object must start with {!");
    QTest::newRow("string given number") << entry("strProfileName", "12") << report(0, 33, "not a valid string.");
    QTest::newRow("string given bracket") << entry("strProfileName", "[]") << report(0, 32, "not a valid string.");
    QTest::newRow("bad escape") << entry("strProfileName", "\"a\\qb\"") << report(0, 37, "not a valid string.");
    QTest::newRow("bool given bracket") << entry("isDamageFile", "]") << report(0, 30, "not a valid bool.");
    QTest::newRow("bool at end") << QByteArray("{\"projects\":[{\"isDamageFile\":") << report(0, 29, "not a valid bool.");
    QTest::newRow("word runs to end") << QByteArray("{\"projects\":[{\"strProfileName\":abc") << report(0, 34, "not a valid string!");
    QTest::newRow("word after record") << QByteArray("{\"projects\":[]} x") << report(0, 17, "not a valid string!");
    QTest::newRow("line feed in quotes") << QByteArray("{\"projects\":\"ab\ncd\"}") << report(1, 0, "not a valid quote string!");
    QTest::newRow("unclosed quotes") << QByteArray("{\"projects\":\"ab") << report(0, 15, "not a valid quote string!");
    QTest::newRow("backslash at end") << QByteArray("{\"ab\\") << report(0, 5, "not a valid quote string!");
    QTest::newRow("second full stop") << QByteArray("{\"x\":1.2.3}") << report(0, 8, "not a valid number!");
    QTest::newRow("slash then letter") << QByteArray("{/x}") << report(0, 2, "not a comment!");
    QTest::newRow("slash ends input") << QByteArray("{\"projects\":[]}/") << report(0, 16, "not a comment!");
    QTest::newRow("unclosed block comment") << QByteArray("{/* abc") << report(0, 7, "not a comment!");
    QTest::newRow("opening star does not close") << QByteArray("{/*/}") << report(0, 5, "not a comment!");
    QTest::newRow("carriage returns not counted") << QByteArray("{\r\n\"x\":1,\r\n\"y\" 2}") << report(2, 6, "invalid json document!");
    QTest::newRow("lone carriage returns") << QByteArray("{\r\r\"x\" 1}") << report(0, 6, "invalid json document!");
    QTest::newRow("carriage returns in quotes") << QByteArray("{\"projects\":\"\r\r") << report(0, 13, "not a valid quote string!");
    QTest::newRow("line feed is column 0") << QByteArray("{\n\n  :") << report(2, 4, "object key must be string");
    QTest::newRow("tab counts one") << QByteArray("\t\t{\t1") << report(0, 5, "object key must be string");
    QTest::newRow("comment lines counted") << QByteArray("// a\n/* b\n c */ {\n 5") << report(3, 3, "object key must be string");
}

void TokensAndPositions::failureReports()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    QCOMPARE(errorOf(text), expected);
}

void TokensAndPositions::acceptedLayouts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("count");

    QTest::newRow("empty record") << QByteArray("{}") << 0;
    QTest::newRow("unquoted words") << QByteArray("{projects:[{strProfileName:abc}]}") << 1;
    QTest::newRow("comments everywhere") << QByteArray("/*a*/{ // b\n\"projects\" /*c*/ : [ {} , /**/ {}]//d\n}// tail") << 2;
    QTest::newRow("block comment with stars") << QByteArray("{/***x**/\"projects\":[{}]}") << 1;
    QTest::newRow("line comment at end") << QByteArray("{\"projects\":[{}]}// last") << 1;
    QTest::newRow("crlf layout") << QByteArray("{\r\n\t\"projects\" : [\r\n\t\t{}\r\n\t]\r\n}\r\n") << 1;
    QTest::newRow("one token after record") << QByteArray("{\"projects\":[]} ] } : : ") << 0;
    QTest::newRow("bracket after record") << QByteArray("{\"projects\":[]}[1,2") << 0;
}

void TokensAndPositions::acceptedLayouts()
{
    QFETCH(QByteArray, text);
    QFETCH(int, count);
    STProjectFileList list;
    QCOMPARE(errorOf(list, text), QString());
    QCOMPARE(int(list.projects.size()), count);
}

void TokensAndPositions::zeroByteEndsInput()
{
    // Within the given length, a zero byte ends the input like the end does.
    const QByteArray text("{\"x\":1\0,\"projects\":[{}]}", 25);
    QCOMPARE(errorOf(text), report(0, 6, "invalid json document!"));

    // The length bounds the input even without a terminating zero.
    const char bytes[] = {'{', '}', '}'};
    STProjectFileList list;
    QCOMPARE(errorOf(list, QByteArray::fromRawData(bytes, 1)), report(0, 1, "object key must be string"));
}

void TokensAndPositions::longRunsKeepPositions()
{
    // Long strings are scanned in blocks; every stop byte must be seen wherever it falls.
    for (int k = 0; k < 48; ++k) {
        const QByteArray run(k, 'a');
        QCOMPARE(errorOf("{\"projects\":\"" + run), report(0, 13 + k, "not a valid quote string!"));
        QCOMPARE(errorOf("{\"projects\":\"" + run + "\r\t\x01" "bc"), report(0, 13 + k + 4, "not a valid quote string!"));
        QCOMPARE(errorOf("{\"x\":\"" + run + "\t\x7f\xff" + run + "\",\"projects\":\"" + run + "\n"),
                 report(1, 0, "not a valid quote string!"));
        const STProjectFileList list = load(entry("strProfileName", '"' + run + "\\\"" + run + "\\u00e9\""));
        QCOMPARE(QByteArray::fromStdString(list.projects[0].strProfileName), run + '"' + run + "\xC3\xA9");
        const QByteArray zero = "{\"x\":\"" + run + QByteArray(1, '\0') + "\"}";
        QCOMPARE(errorOf(zero), report(0, 6 + k, "not a valid quote string!"));
    }
}

void TokensAndPositions::nestingIsBounded()
{
    const int limit = ajson::JsonReader::kMaxSkipDepth;
    QVERIFY(limit >= 512);
    const QByteArray deepest = "{\"x\":" + QByteArray(limit, '[') + QByteArray(limit, ']') + ",\"projects\":[{}]}";
    STProjectFileList list;
    QCOMPARE(errorOf(list, deepest), QString());
    QCOMPARE(list.projects.size(), std::size_t(1));

    // One level more fails right after the bracket that exceeds the limit.
    const QByteArray tooDeep = "{\"x\":" + QByteArray(limit + 1, '[') + QByteArray(limit + 1, ']') + "}";
    QCOMPARE(errorOf(tooDeep), report(0, 5 + limit + 1, "nesting too deep!"));

    // Mixed objects and arrays count alike, and a hostile depth stays an error.
    QByteArray mixed = "{\"x\":";
    for (int i = 0; i < 100000; ++i)
        mixed += (i % 2) ? "{\"k\":" : "[";
    QVERIFY(errorOf(mixed).endsWith(QLatin1String("msg:nesting too deep!")));
}

void TokensAndPositions::extremeNumbersStayCheap()
{
    // Huge exponents end as soon as the value is infinite or zero.
    QVERIFY(load(entry("isDamageFile", "1e999999999")).projects[0].isDamageFile);
    QVERIFY(load(entry("isDamageFile", "1E+++2147483647999")).projects[0].isDamageFile);
    QVERIFY(!load(entry("isDamageFile", "1e-999999999")).projects[0].isDamageFile);
    QVERIFY(!load(entry("isDamageFile", "0e999999999")).projects[0].isDamageFile);
    // Integers wrap in 64 unsigned bits instead of overflowing.
    QVERIFY(!load(entry("isDamageFile", "18446744073709551616")).projects[0].isDamageFile);
    QVERIFY(load(entry("isDamageFile", "18446744073709551617")).projects[0].isDamageFile);
    QVERIFY(load(entry("isDamageFile", "-99999999999999999999999999999999999")).projects[0].isDamageFile);
    // Many fraction digits are read in one pass.
    QVERIFY(load(entry("isDamageFile", "0." + QByteArray(200000, '0') + "1")).projects[0].isDamageFile == false);
}

// ---------------------------------------------------------------------------
class MembersAndBinding : public QObject {
    Q_OBJECT
private slots:
    void boolMember_data();
    void boolMember();
    void stringMemberTakesWords();
    void vectorMember_data();
    void vectorMember();
    void fillsInPlace();
    void repeatedKeys();
    void unknownMembersSkipped();
    void keysMatchExactly();
    void partialFillOnError();
    void fieldNameListIsTrimmed();
    void loadFromFileHandlesMarkAndComments();
    void loadFromFileReportsOpenFailure();
};

void MembersAndBinding::boolMember_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("expected");
    QTest::newRow("quoted capitals") << QByteArray("\"TRUE\"") << true;
    QTest::newRow("capitalised word") << QByteArray("True") << true;
    QTest::newRow("mixed word") << QByteArray("tRuE") << true;
    QTest::newRow("true with space") << QByteArray("\"true \"") << false;
    QTest::newRow("truey") << QByteArray("truey") << false;
    QTest::newRow("false") << QByteArray("false") << false;
    QTest::newRow("null") << QByteArray("null") << false;
    QTest::newRow("yes") << QByteArray("yes") << false;
    QTest::newRow("two") << QByteArray("2") << true;
    QTest::newRow("minus one") << QByteArray("-1") << true;
    QTest::newRow("minus zero") << QByteArray("-0") << false;
    QTest::newRow("zero") << QByteArray("0") << false;
    QTest::newRow("lone minus") << QByteArray("-") << false;
    QTest::newRow("zero real") << QByteArray("0.0") << false;
    QTest::newRow("half") << QByteArray("0.5") << true;
    QTest::newRow("small fraction") << QByteArray("-.001") << true;
    QTest::newRow("exponent") << QByteArray("1e3") << true;
    QTest::newRow("e without digits") << QByteArray("0.25e") << true;
    QTest::newRow("negative exponent") << QByteArray("5E-1") << true;
}

void MembersAndBinding::boolMember()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, expected);
    const STProjectFileList read = load(entry("isDamageFile", value));
    QCOMPARE(read.projects.size(), std::size_t(1));
    QCOMPARE(read.projects[0].isDamageFile, expected);
}

void MembersAndBinding::stringMemberTakesWords()
{
    QCOMPARE(load(entry("strProfileName", "null")).projects[0].strProfileName, std::string("null"));
    QCOMPARE(load(entry("strProfileName", "true")).projects[0].strProfileName, std::string("true"));
    // Quotes, slashes and high bytes belong to an unquoted word.
    QCOMPARE(load(entry("strProfileName", "a\"b/c\xC3\xA9")).projects[0].strProfileName, std::string("a\"b/c\xC3\xA9"));
    // Escapes are decoded in words too.
    QCOMPARE(load(entry("strProfileName", "a\\tb")).projects[0].strProfileName, std::string("a\tb"));
    QCOMPARE(load(entry("strProfileName", "\"\"")).projects[0].strProfileName, std::string());
    // A number is not a string.
    QCOMPARE(errorOf(entry("strProfileName", "-1.5")), report(0, 35, "not a valid string."));
}

void MembersAndBinding::vectorMember_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("count");
    QTest::newRow("null word") << QByteArray("null") << 0;
    QTest::newRow("null quoted") << QByteArray("\"null\"") << 0;
    QTest::newRow("begins with null") << QByteArray("nullish") << 0;
    QTest::newRow("empty") << QByteArray("[]") << 0;
    QTest::newRow("empty element") << QByteArray("[{}]") << 1;
    QTest::newRow("trailing comma") << QByteArray("[{},{},]") << 2;
    QTest::newRow("three") << QByteArray("[{},{},{}]") << 3;
}

void MembersAndBinding::vectorMember()
{
    QFETCH(QByteArray, value);
    QFETCH(int, count);
    STProjectFileList list;
    QCOMPARE(errorOf(list, "{\"projects\":" + value + ",\"after\":1}"), QString());
    QCOMPARE(int(list.projects.size()), count);
    for (const STProjectFile &f : list.projects) {
        QVERIFY(f.strProfileName.empty());
        QCOMPARE(f.hostMode, 5);
    }
}

void MembersAndBinding::fillsInPlace()
{
    STProjectFileList list;
    list.projects.push_back(make("old", "/old.ptr7", "", false));
    QCOMPARE(errorOf(list, "{}"), QString());
    QCOMPARE(list.projects.size(), std::size_t(1));
    QCOMPARE(list.projects[0].strProfileName, std::string("old"));

    // Elements are appended; members missing from the file keep their defaults.
    QCOMPARE(errorOf(list, "{\"projects\":[{\"strProfilePath\":\"/new.ptr7\"}]}"), QString());
    QCOMPARE(list.projects.size(), std::size_t(2));
    QCOMPARE(list.projects[1].strProfilePath, std::string("/new.ptr7"));
    QCOMPARE(list.projects[1].strProfileName, std::string());

    STSample sample;
    sample.name = "before";
    ajson::loadFromBuffer(sample, "{\"flag\":1}", 10);
    QCOMPARE(sample.name, std::string("before"));
    QCOMPARE(sample.path, std::string("kept"));
    QVERIFY(sample.flag);
}

void MembersAndBinding::repeatedKeys()
{
    const STProjectFileList list = load("{\"projects\":[{\"strProfileName\":a,\"strProfileName\":b,"
                                        "\"isDamageFile\":true,\"isDamageFile\":false}],\"projects\":[{},{}]}");
    QCOMPARE(list.projects.size(), std::size_t(3));
    QCOMPARE(list.projects[0].strProfileName, std::string("b"));
    QVERIFY(!list.projects[0].isDamageFile);
}

void MembersAndBinding::unknownMembersSkipped()
{
    const QByteArray text = "{\"version\":3,\"meta\":{\"a\":[1 2 {\"b\":null} [] -4.5e2],1:\"x\" y:{}},"
                            "\"empty\":,\"projects\":[{\"extra\":[[[]]],\"strProfileName\":\"n\",\"hostMode\":7,"
                            "\"none\":}],\"tail\":[,,1,]}";
    const STProjectFileList list = load(text);
    QCOMPARE(list.projects.size(), std::size_t(1));
    QCOMPARE(list.projects[0].strProfileName, std::string("n"));
    QCOMPARE(list.projects[0].hostMode, 5);
}

void MembersAndBinding::keysMatchExactly()
{
    // Case, length and escapes all count: none of these names a member.
    const STProjectFileList list = load("{\"projects\":[{\"StrProfileName\":a,\"strProfileNam\":b,"
                                        "\"strProfileNames\":c,\"strProfile\\u004eame\":d}]}");
    QCOMPARE(list.projects[0].strProfileName, std::string());
    QCOMPARE(errorOf("{\"Projects\":3}"), QString());
}

void MembersAndBinding::partialFillOnError()
{
    STProjectFileList list;
    const QString error = errorOf(list, "{\"projects\":[{\"strProfileName\":one},{\"strProfileName\":two,\"isDamageFile\":}]}");
    QCOMPARE(error, report(0, 74, "not a valid bool."));
    QCOMPARE(list.projects.size(), std::size_t(2));
    QCOMPARE(list.projects[0].strProfileName, std::string("one"));
    QCOMPARE(list.projects[1].strProfileName, std::string("two"));
}

void MembersAndBinding::fieldNameListIsTrimmed()
{
    STSample s;
    s.name = "a\"b";
    s.flag = true;
    s.path = "";
    QCOMPARE(ajson::toJson(s), std::string("{\"name\":\"a\\\"b\",\"flag\":true,\"path\":\"\"}"));
    STSample back;
    ajson::loadFromBuffer(back, "{path:p,flag:yes,name:n}", 24);
    QCOMPARE(back.path, std::string("p"));
    QCOMPARE(back.name, std::string("n"));
    QVERIFY(!back.flag);
}

void MembersAndBinding::loadFromFileHandlesMarkAndComments()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("list \xC3\xA9.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBF{ /* recent */ \"projects\": [ {\"strProfilePath\": \"C:\\\\new\"}, ] } // done\n");
    file.close();

    STProjectFileList list;
    ajson::loadFromFile(list, path.toStdString());
    QCOMPARE(list.projects.size(), std::size_t(1));
    QCOMPARE(list.projects[0].strProfilePath, std::string("C:\\new"));

    // The mark is not counted in line or column.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("\xEF\xBB\xBF{]");
    file.close();
    try {
        ajson::loadFromFile(list, path.toStdString().c_str());
        QFAIL("a bracket is not a key");
    } catch (const ajson::exception &e) {
        QCOMPARE(QString::fromUtf8(e.what()), report(0, 2, "object key must be string"));
    }

    // A mark alone is an empty file.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("\xEF\xBB\xBF");
    file.close();
    try {
        ajson::loadFromFile(list, path.toStdString());
        QFAIL("an empty file is not a record");
    } catch (const ajson::exception &e) {
        QCOMPARE(QString::fromUtf8(e.what()), report(0, 0, "read object must start with {!"));
    }
}

void MembersAndBinding::loadFromFileReportsOpenFailure()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("missing.json")).toStdString();
    STProjectFileList list;
    try {
        ajson::loadFromFile(list, path);
        QFAIL("a missing file must not load");
    } catch (const ajson::exception &) {
        QFAIL("an open failure is not a syntax error");
    } catch (const std::logic_error &e) {
        QCOMPARE(std::string(e.what()), "can't open file:" + path);
    }

    // A folder opens but holds no record.
    try {
        ajson::loadFromFile(list, dir.path().toStdString());
        QFAIL("a folder must not load");
    } catch (const std::exception &e) {
        QVERIFY(std::string(e.what()).find("error at line :0 col :0 msg:") == 0
                || std::string(e.what()).find("can't open file:") == 0);
    }
}

// ---------------------------------------------------------------------------
class StringsAndEscapes : public QObject {
    Q_OBJECT
private slots:
    void decoding_data();
    void decoding();
    void invalidEscapes_data();
    void invalidEscapes();
    void rawBytesKept();
};

void StringsAndEscapes::decoding_data()
{
    QTest::addColumn<QByteArray>("quoted");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("simple escapes") << QByteArray("\\\"\\\\\\/\\b\\f\\n\\r\\t") << QByteArray("\"\\/\b\f\n\r\t");
    QTest::newRow("two bytes") << QByteArray("a\\u00e9b") << QByteArray("a\xC3\xA9" "b");
    QTest::newRow("mixed case hex") << QByteArray("\\u00E9\\u00eA") << QByteArray("\xC3\xA9\xC3\xAA");
    QTest::newRow("one byte") << QByteArray("\\u0041\\u007f") << QByteArray("A\x7F");
    QTest::newRow("three bytes") << QByteArray("\\u20ac\\uFFFF") << QByteArray("\xE2\x82\xAC\xEF\xBF\xBF");
    QTest::newRow("smallest two byte") << QByteArray("\\u0080\\u07FF") << QByteArray("\xC2\x80\xDF\xBF");
    QTest::newRow("pair joined") << QByteArray("x\\uD83D\\uDE00y") << QByteArray("x\xF0\x9F\x98\x80y");
    QTest::newRow("highest pair") << QByteArray("\\udbff\\udfff") << QByteArray("\xF4\x8F\xBF\xBF");
    QTest::newRow("lowest pair") << QByteArray("\\uD800\\uDC00") << QByteArray("\xF0\x90\x80\x80");
    QTest::newRow("lone high") << QByteArray("\\uD83Dx") << QByteArray("\xED\xA0\xBDx");
    QTest::newRow("lone high at end") << QByteArray("\\uD83D") << QByteArray("\xED\xA0\xBD");
    QTest::newRow("lone low") << QByteArray("\\uDE00") << QByteArray("\xED\xB8\x80");
    QTest::newRow("low then high") << QByteArray("\\uDE00\\uD83D") << QByteArray("\xED\xB8\x80\xED\xA0\xBD");
    QTest::newRow("high then high") << QByteArray("\\uD83D\\uD83D\\uDE00") << QByteArray("\xED\xA0\xBD\xF0\x9F\x98\x80");
    QTest::newRow("high then other escape") << QByteArray("\\uD83D\\n") << QByteArray("\xED\xA0\xBD\n");
    QTest::newRow("high then short escape") << QByteArray("\\uD83D\\u12") << QByteArray();
    QTest::newRow("escaped backslash before u") << QByteArray("\\\\u0041") << QByteArray("\\u0041");
    QTest::newRow("drive path") << QByteArray("C:\\\\new") << QByteArray("C:\\new");
}

void StringsAndEscapes::decoding()
{
    QFETCH(QByteArray, quoted);
    QFETCH(QByteArray, expected);
    STProjectFileList list;
    const QString error = errorOf(list, entry("strProfileName", '"' + quoted + '"'));
    if (expected.isEmpty()) {
        QVERIFY(error.endsWith(QLatin1String("msg:not a valid string.")));
        return;
    }
    QCOMPARE(error, QString());
    QCOMPARE(QByteArray::fromStdString(list.projects[0].strProfileName), expected);
}

void StringsAndEscapes::invalidEscapes_data()
{
    QTest::addColumn<QByteArray>("quoted");
    QTest::newRow("unknown letter") << QByteArray("a\\qb");
    QTest::newRow("capital U") << QByteArray("\\U0041");
    QTest::newRow("code point zero") << QByteArray("\\u0000");
    QTest::newRow("three digits left") << QByteArray("\\u004");
    QTest::newRow("not hex") << QByteArray("\\u00G1");
    QTest::newRow("sign in hex") << QByteArray("\\u+041");
    QTest::newRow("escaped tab byte") << QByteArray("\\\t");
    QTest::newRow("escaped high byte") << QByteArray("\\\xC3\xA9");
}

void StringsAndEscapes::invalidEscapes()
{
    QFETCH(QByteArray, quoted);
    const QByteArray text = entry("strProfileName", '"' + quoted + '"');
    // Reported once the string token has been read, after its closing quote.
    const int afterQuote = text.size() - 3;
    QCOMPARE(errorOf(text), report(0, afterQuote, "not a valid string."));
}

void StringsAndEscapes::rawBytesKept()
{
    // Tabs, carriage returns and bytes of any encoding pass through unchecked.
    const QByteArray raw("\t\r\xFF\xC0\xAF\xED\xA0\x80 end");
    QCOMPARE(QByteArray::fromStdString(load(entry("strProfilePath", '"' + raw + '"')).projects[0].strProfilePath), raw);
    // An escaped line feed byte is part of the token and then an invalid escape.
    QCOMPARE(errorOf(entry("strProfilePath", "\"a\\\nb\"")), report(1, 3, "not a valid string."));
    // Unknown members may hold anything the tokenizer accepts.
    QCOMPARE(errorOf("{\"x\":\"\\q\\u\",\"projects\":[]}"), QString());
}

// ---------------------------------------------------------------------------
class Writer : public QObject {
    Q_OBJECT
private slots:
    void compactLayout();
    void escaping_data();
    void escaping();
    void capacityGrowsInSteps();
};

void Writer::compactLayout()
{
    STProjectFileList list;
    QCOMPARE(ajson::toJson(list), std::string("{\"projects\":[]}"));
    list.projects.push_back(make("a b", "/p/a b.ptr7", "/img/a.png", true));
    STProjectFile hidden = make("", "", "", false);
    hidden.hostText = "never written";
    hidden.hostMode = 9;
    hidden.isPackage = true;
    list.projects.push_back(hidden);
    QCOMPARE(ajson::toJson(list),
             std::string("{\"projects\":[{\"strProfileName\":\"a b\",\"strProfilePath\":\"/p/a b.ptr7\","
                         "\"strImagePath\":\"/img/a.png\",\"isDamageFile\":true},{\"strProfileName\":\"\","
                         "\"strProfilePath\":\"\",\"strImagePath\":\"\",\"isDamageFile\":false}]}"));
}

void Writer::escaping_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("named escapes") << QByteArray("\"\\\b\t\n\f\r") << QByteArray("\\\"\\\\\\b\\t\\n\\f\\r");
    QTest::newRow("slash kept") << QByteArray("a/b") << QByteArray("a/b");
    QTest::newRow("other controls") << QByteArray("\x01\x0B\x1F\x7F") << QByteArray("\\u0001\\u000B\\u001F\\u007F");
    QTest::newRow("printable range") << QByteArray(" ~") << QByteArray(" ~");
    QTest::newRow("e acute") << QByteArray("\xC3\xA9") << QByteArray("\\u00E9");
    QTest::newRow("euro") << QByteArray("\xE2\x82\xAC") << QByteArray("\\u20AC");
    QTest::newRow("cjk") << QByteArray("\xE6\x96\x87\xE4\xBB\xB6") << QByteArray("\\u6587\\u4EF6");
    QTest::newRow("emoji pair") << QByteArray("\xF0\x9F\x98\x80") << QByteArray("\\uD83D\\uDE00");
    QTest::newRow("highest code point") << QByteArray("\xF4\x8F\xBF\xBF") << QByteArray("\\uDBFF\\uDFFF");
    QTest::newRow("zero ends content") << QByteArray("ab\0cd", 5) << QByteArray("ab");
    // Bytes that are not valid UTF-8 go out as they are; the reader copies them back.
    QTest::newRow("bad start byte") << QByteArray("ab\xFF" "cd") << QByteArray("ab\xFF" "cd");
    QTest::newRow("stray continuation") << QByteArray("ab\x80" "cd") << QByteArray("ab\x80" "cd");
    QTest::newRow("overlong") << QByteArray("a\xC0\xAF\xF0\x80\x80\xAF") << QByteArray("a\xC0\xAF\xF0\x80\x80\xAF");
    QTest::newRow("encoded surrogates") << QByteArray("\xED\xA0\x80\xED\xB0\x80") << QByteArray("\xED\xA0\x80\xED\xB0\x80");
    QTest::newRow("above highest") << QByteArray("x\xF4\x90\x80\x80") << QByteArray("x\xF4\x90\x80\x80");
    QTest::newRow("cut sequence") << QByteArray("\xC3\xA9\xE2\x82") << QByteArray("\\u00E9\xE2\x82");
    QTest::newRow("missing continuation") << QByteArray("\xE2\x82z\xC3\xA9") << QByteArray("\xE2\x82z\\u00E9");
}

void Writer::escaping()
{
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, written);
    STProjectFileList list;
    list.projects.push_back(make(value.toStdString(), "p", "", false));
    const std::string text = ajson::toJson(list);
    const std::string prefix = "{\"projects\":[{\"strProfileName\":\"";
    QCOMPARE(QByteArray::fromStdString(text.substr(0, text.find("\",\"strProfilePath\""))),
             QByteArray::fromStdString(prefix) + written);
    // The next member follows intact, so the closing quote was written.
    QVERIFY(text.find("\",\"strProfilePath\":\"p\",") != std::string::npos);
}

void Writer::capacityGrowsInSteps()
{
    ajson::JsonWriter w;
    QCOMPARE(w.capacity(), std::size_t(1024));
    const std::string block(1024, 'x');
    w.write(block.data(), block.size());
    QCOMPARE(w.capacity(), std::size_t(1024));
    w.put('y');
    QCOMPARE(w.capacity(), std::size_t(2048));
    w.write(block.data(), 1023);
    QCOMPARE(w.capacity(), std::size_t(2048));
    w.write(block.data(), 1000);
    QCOMPARE(w.size(), std::size_t(3048));
    QCOMPARE(w.capacity(), std::size_t(3072));
    w.writeString(std::string(3000, 'z').c_str(), 3000);
    QCOMPARE(w.size(), std::size_t(6050));
    QCOMPARE(w.capacity(), std::size_t(6144));
    QCOMPARE(std::string(w.data() + 3048, 3), std::string("\"zz"));
    QCOMPARE(w.data()[6049], '"');
}

// ---------------------------------------------------------------------------
class RoundTrip : public QObject {
    Q_OBJECT
private slots:
    void drivePath();
    void randomRecords();
    void anyBytesSurvive();
    void todaysFileRewrittenIdentically();
};

void RoundTrip::drivePath()
{
    STProjectFileList list;
    list.projects.push_back(make("new", "C:\\new", "D:\\img\\\xF0\x9F\x98\x80.png", false));
    const std::string text = ajson::toJson(list);
    QVERIFY(text.find("\"C:\\\\new\"") != std::string::npos);
    QVERIFY(text.find("D:\\\\img\\\\\\uD83D\\uDE00.png") != std::string::npos);
    const STProjectFileList back = load(QByteArray::fromStdString(text));
    QCOMPARE(back.projects[0].strProfilePath, std::string("C:\\new"));
    QCOMPARE(back.projects[0].strImagePath, list.projects[0].strImagePath);
}

namespace {

void appendCodePoint(std::string &out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

std::string randomText(std::mt19937 &rng)
{
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> kind(0, 7);
    std::string s;
    for (int n = length(rng); n > 0; --n) {
        std::uint32_t cp = 0;
        switch (kind(rng)) {
        case 0: cp = std::uniform_int_distribution<std::uint32_t>(0x20, 0x7E)(rng); break;
        case 1: cp = (rng() & 1) ? '"' : '\\'; break;
        case 2: cp = std::uniform_int_distribution<std::uint32_t>(1, 0x1F)(rng); break;
        case 3: cp = std::uniform_int_distribution<std::uint32_t>(0x7F, 0x7FF)(rng); break;
        case 4:
        case 5:
            do {
                cp = std::uniform_int_distribution<std::uint32_t>(0x800, 0xFFFF)(rng);
            } while (cp >= 0xD800 && cp <= 0xDFFF);
            break;
        default: cp = std::uniform_int_distribution<std::uint32_t>(0x10000, 0x10FFFF)(rng); break;
        }
        appendCodePoint(s, cp);
    }
    return s;
}

} // namespace

void RoundTrip::randomRecords()
{
    std::mt19937 rng(20240611u);
    int records = 0;
    for (int round = 0; records < 10000; ++round) {
        STProjectFileList list;
        const int count = round % 7 == 0 ? 0 : int(rng() % 400);
        for (int i = 0; i < count; ++i)
            list.projects.push_back(make(randomText(rng), randomText(rng), randomText(rng), rng() & 1));
        records += count;
        const std::string text = ajson::toJson(list);
        for (const char c : text)
            QVERIFY2(c >= 0x20 && c <= 0x7E, "the writer emits printable ASCII only");
        STProjectFileList back;
        back.projects.push_back(make("x", "y", "z", true));
        const QByteArray bytes = QByteArray::fromStdString(text);
        QCOMPARE(errorOf(back, bytes), QString());
        QCOMPARE(back.projects.size(), list.projects.size() + 1);
        for (int i = 0; i < count; ++i) {
            const STProjectFile &a = list.projects[std::size_t(i)];
            const STProjectFile &b = back.projects[std::size_t(i) + 1];
            QCOMPARE(b.strProfileName, a.strProfileName);
            QCOMPARE(b.strProfilePath, a.strProfilePath);
            QCOMPARE(b.strImagePath, a.strImagePath);
            QCOMPARE(b.isDamageFile, a.isDamageFile);
        }
    }
    QVERIFY(records >= 10000);
}

void RoundTrip::anyBytesSurvive()
{
    // A file name may hold any byte but zero; a rewrite must not cut it short.
    std::mt19937 rng(20261207u);
    std::uniform_int_distribution<int> length(1, 64);
    std::uniform_int_distribution<int> byte(1, 255);
    auto randomBytes = [&] {
        std::string s(std::size_t(length(rng)), '\0');
        for (char &c : s)
            c = char(byte(rng));
        return s;
    };
    STProjectFileList list;
    for (int i = 0; i < 5000; ++i) {
        const std::string name = randomBytes();
        list.projects.push_back(make(name, randomBytes(), "", false));
    }
    const std::string text = ajson::toJson(list);
    STProjectFileList back;
    QCOMPARE(errorOf(back, QByteArray::fromStdString(text)), QString());
    QCOMPARE(back.projects.size(), list.projects.size());
    for (std::size_t i = 0; i < list.projects.size(); ++i) {
        QCOMPARE(QByteArray::fromStdString(back.projects[i].strProfileName), QByteArray::fromStdString(list.projects[i].strProfileName));
        QCOMPARE(QByteArray::fromStdString(back.projects[i].strProfilePath), QByteArray::fromStdString(list.projects[i].strProfilePath));
    }
    QCOMPARE(ajson::toJson(back), text);
}

void RoundTrip::todaysFileRewrittenIdentically()
{
    // A file as the writer has always written it comes out byte for byte.
    const QByteArray file(R"({"projects":[{"strProfileName":"a b","strProfilePath":"C:\\new","strImagePath":"","isDamageFile":true},)"
                          R"({"strProfileName":"\u6587\u4EF6\u00E9\uD83D\uDE00\uDBFF\uDFFF","strProfilePath":"/x/\"q\"\b\t\n\f\r\u0001\u007F/",)"
                          R"("strImagePath":"\u20AC","isDamageFile":false}]})");
    QCOMPARE(QByteArray::fromStdString(ajson::toJson(load(file))), file);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int status = 0;
    {
        TokensAndPositions t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        MembersAndBinding t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        StringsAndEscapes t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        Writer t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        RoundTrip t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "tst_json.moc"
