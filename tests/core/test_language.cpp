// The English language library, loaded as the program loads it: every id the
// sources ask for has a text, the table is ordered so that every text can be
// found, and the texts keep the shapes their callers join them into.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <climits>
#include <map>
#include <ostream>
#include <set>
#include <utility>
#include <vector>

#include "core/strings.h"

// Readable failure messages: the text itself, cut after 80 characters.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << (s.size() > 80 ? s.left(80) + QStringLiteral("...") : s).toStdString() << "\" (" << s.size()
        << " characters)";
}

namespace {

TResStringManager& english() {
    static TResStringManager m(QStringLiteral(LINKORA_BIN_DIR "/language/english.so"));
    return m;
}

QString readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

// The entries of the table as written in language/english.cpp, in file order.
struct Entry {
    unsigned int id;
    QString text;
    int line;
};

std::vector<Entry> tableInSource() {
    static const std::vector<Entry> entries = [] {
        std::vector<Entry> out;
        const QStringList lines = readFile(QStringLiteral(LINKORA_SOURCE_DIR "/language/english.cpp")).split(QLatin1Char('\n'));
        static const QRegularExpression row(QStringLiteral(R"re(^\s*\{(\d+),\s*"((?:[^"\\]|\\.)*)"\},)re"));
        for (int i = 0; i < lines.size(); ++i) {
            const QRegularExpressionMatch m = row.match(lines[i]);
            if (!m.hasMatch()) continue;
            QString text;
            const QString raw = m.captured(2);
            for (int k = 0; k < raw.size(); ++k) {
                QChar c = raw[k];
                if (c == QLatin1Char('\\') && k + 1 < raw.size()) {
                    const QChar e = raw[++k];
                    c = e == QLatin1Char('n') ? QChar('\n') : e == QLatin1Char('r') ? QChar('\r') : e == QLatin1Char('t') ? QChar('\t') : e;
                }
                text += c;
            }
            out.push_back({m.captured(1).toUInt(), text, i + 1});
        }
        return out;
    }();
    return entries;
}

std::set<unsigned int> idsInTable() {
    std::set<unsigned int> ids;
    for (const Entry& e : tableInSource()) ids.insert(e.id);
    return ids;
}

// Source text with comments removed and the insides of string and character
// literals blanked; line breaks are kept so positions still give line numbers.
QString codeOnly(const QString& src) {
    QString out;
    out.reserve(src.size());
    const int n = src.size();
    int i = 0;
    auto isIdent = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); };
    while (i < n) {
        const QChar c = src[i];
        const QChar next = i + 1 < n ? src[i + 1] : QChar();
        if (c == QLatin1Char('/') && next == QLatin1Char('/')) {
            while (i < n && src[i] != QLatin1Char('\n')) ++i;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            i += 2;
            while (i < n && !(src[i] == QLatin1Char('*') && i + 1 < n && src[i + 1] == QLatin1Char('/'))) {
                if (src[i] == QLatin1Char('\n')) out += QLatin1Char('\n');
                ++i;
            }
            i += 2;
            out += QLatin1Char(' ');
        } else if (c == QLatin1Char('R') && next == QLatin1Char('"') &&
                   (i == 0 || !isIdent(src[i - 1]) || QStringLiteral("uUL8").contains(src[i - 1]))) {
            // Raw string (also u8R, uR, UR, LR): R"delim( ... )delim"
            const int open = src.indexOf(QLatin1Char('('), i + 2);
            if (open < 0) break;
            const QString end = QLatin1Char(')') + src.mid(i + 2, open - i - 2) + QLatin1Char('"');
            const int close = src.indexOf(end, open + 1);
            const int stop = close < 0 ? n : close + end.size();
            out += QLatin1String("\"\"");
            for (int k = i; k < stop; ++k)
                if (src[k] == QLatin1Char('\n')) out += QLatin1Char('\n');
            i = stop;
        } else if (c == QLatin1Char('"') || (c == QLatin1Char('\'') && !(i > 0 && src[i - 1].isDigit()))) {
            // A quote after a digit is a digit separator (1'000), not a literal.
            const QChar quote = c;
            out += quote;
            ++i;
            while (i < n && src[i] != quote && src[i] != QLatin1Char('\n')) {
                if (src[i] == QLatin1Char('\\')) ++i;
                ++i;
            }
            out += quote;
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

unsigned int literalValue(const QString& s) {
    bool ok = false;
    const unsigned int v = s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? s.mid(2).toUInt(&ok, 16) : s.toUInt(&ok, 10);
    return ok ? v : UINT_MAX;
}

// Every string id a piece of source names: the argument of a GetString call
// written as a number, and every number in the initializer of a table whose
// name ends in "Ids" (kIds, kCaptionIds[], kHintIds = {...}).
std::vector<std::pair<unsigned int, int>> idsUsedIn(const QString& source) {
    std::vector<std::pair<unsigned int, int>> found;  // id, line
    const QString code = codeOnly(source);
    auto lineOf = [&code](qsizetype pos) { return int(code.left(pos).count(QLatin1Char('\n'))) + 1; };

    static const QRegularExpression call(QStringLiteral(R"re(GetString\s*\(\s*(0[xX][0-9A-Fa-f]+|\d+)[uUlL]*\s*\))re"));
    for (auto it = call.globalMatch(code); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        found.push_back({literalValue(m.captured(1)), lineOf(m.capturedStart())});
    }

    static const QRegularExpression table(QStringLiteral(R"re(\b\w*Ids\s*(?:\[[^\]]*\])?\s*=?\s*\{)re"));
    static const QRegularExpression number(QStringLiteral(R"re((?<![\w.])(0[xX][0-9A-Fa-f]+|\d+)[uUlL]*(?![\w.]))re"));
    for (auto it = table.globalMatch(code); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const qsizetype begin = m.capturedEnd();  // just after the opening brace
        qsizetype end = begin;
        for (int depth = 1; end < code.size() && depth > 0; ++end) {
            if (code[end] == QLatin1Char('{')) ++depth;
            if (code[end] == QLatin1Char('}')) --depth;
        }
        const QString body = code.mid(begin, end - begin);
        for (auto nt = number.globalMatch(body); nt.hasNext();) {
            const QRegularExpressionMatch nm = nt.next();
            found.push_back({literalValue(nm.captured(1)), lineOf(begin + nm.capturedStart())});
        }
    }
    return found;
}

// Numbers inside the string-id bands, as window code writes them: a helper
// such as Warn(1090) or a table {{Button, 1002}} names ids without GetString.
bool inIdBand(unsigned int n) {
    static const std::pair<unsigned int, unsigned int> bands[] = {{1001, 1174}, {2001, 2070}, {3001, 3160},
                                                                  {4001, 4081}, {5001, 5048}, {6001, 6050},
                                                                  {7001, 7022}, {8001, 8023}, {9001, 9013}};
    for (const auto& [low, high] : bands)
        if (n >= low && n <= high) return true;
    return false;
}

std::vector<std::pair<unsigned int, int>> bandNumbersIn(const QString& source) {
    std::vector<std::pair<unsigned int, int>> found;
    const QString code = codeOnly(source);
    static const QRegularExpression number(QStringLiteral(R"re((?<![\w.'])(\d+)(?![\w.']))re"));
    for (auto it = number.globalMatch(code); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const unsigned int n = m.captured(1).toUInt();
        if (inIdBand(n)) found.push_back({n, int(code.left(m.capturedStart()).count(QLatin1Char('\n'))) + 1});
    }
    return found;
}

// Window message numbers share the first band; they are always defined as
// UM_ names (UM_DEVICE_STATE = 1125).
std::set<unsigned int> windowMessageNumbers(const QStringList& files) {
    std::set<unsigned int> numbers;
    static const QRegularExpression def(QStringLiteral(R"re(\bUM_\w+\s*=\s*(\d+))re"));
    for (const QString& file : files)
        for (auto it = def.globalMatch(codeOnly(readFile(file))); it.hasNext();) numbers.insert(it.next().captured(1).toUInt());
    return numbers;
}

// Numbers in the id bands that window code uses for something else.
const std::map<unsigned int, const char*> kNotIds = {
    {1024, "bytes in a kilobyte"},
    {1043, "all-settings offset: disconnected sound file"},
    {1044, "toolkit request offset: menu title"},
    {1060, "size of the dial parameters record"},
    {1092, "toolkit request offset: display kind"},
    {1096, "toolkit request offset: display text"},
    {2044, "all-settings offset: new-SMS sound file"},
    {3045, "all-settings offset: incoming-call sound file"},
    {4048, "all-settings offset: SMS reference counter"},
    {4052, "all-settings offset: caller identity"},
    {4056, "size of the all-settings record"},
};

// The program's own sources: everything under the source folder except the
// tests (which ask for missing ids on purpose), build folders and hidden ones.
QStringList programSources() {
    QStringList files;
    const QDir root(QStringLiteral(LINKORA_SOURCE_DIR));
    const QStringList filters = {QStringLiteral("*.cpp"), QStringLiteral("*.h"), QStringLiteral("*.hpp"), QStringLiteral("*.cc")};
    for (const QString& top : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (top == QLatin1String("tests") || top.startsWith(QLatin1String("build")) || top.startsWith(QLatin1Char('.'))) continue;
        QDirIterator it(root.filePath(top), filters, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) files << it.next();
    }
    for (const QString& f : root.entryList(filters, QDir::Files)) files << root.filePath(f);
    return files;
}

}  // namespace

TEST(Language, LibraryLoads) { ASSERT_TRUE(english().Loaded()); }

TEST(Language, TableIsStrictlyAscendingAndEveryTextIsFound) {
    const std::vector<Entry>& entries = tableInSource();
    ASSERT_FALSE(entries.empty()) << "no table rows read from language/english.cpp";
    for (std::size_t i = 1; i < entries.size(); ++i)
        EXPECT_LT(entries[i - 1].id, entries[i].id) << "english.cpp:" << entries[i].line << ": id " << entries[i].id
                                                    << " follows id " << entries[i - 1].id;
    for (const Entry& e : entries) {
        const QString got = english().GetString(e.id);
        EXPECT_FALSE(got.isEmpty()) << "id " << e.id << " has no text";
        EXPECT_EQ(got, e.text) << "id " << e.id << " is not found as written (english.cpp:" << e.line << ")";
        EXPECT_FALSE(got.contains(QChar::ReplacementCharacter)) << "id " << e.id << " is not valid UTF-8";
    }
}

TEST(Language, CommonButtonCaptions) {
    const std::pair<unsigned int, const char*> cases[] = {{6, "OK"}, {7, "Cancel"}, {13, "Yes"}, {14, "No"}};
    for (const auto& [id, text] : cases) EXPECT_EQ(english().GetString(id), QString::fromUtf8(text)) << "id " << id;
    // The second button of a kind-5 box is an answer of its own, not a copy of the first.
    EXPECT_FALSE(english().GetString(16).isEmpty());
    EXPECT_NE(english().GetString(16), english().GetString(6));
}

TEST(Language, MissingIdsGiveTheEmptyText) {
    const std::set<unsigned int> present = idsInTable();
    for (unsigned int id : {0u, 18u, 1000u, 1175u, 2000u, 9014u, 65535u, UINT_MAX}) {
        ASSERT_EQ(present.count(id), 0u) << "id " << id << " is in the table; pick another missing id";
        EXPECT_TRUE(english().GetString(id).isEmpty()) << "id " << id;
    }
}

TEST(Language, TextsLongerThan499CharactersAreCut) {
    TResStringManager longTexts(QStringLiteral(LINKORA_LONG_LANGUAGE));
    ASSERT_TRUE(longTexts.Loaded());
    const QString e = QString::fromUtf8("\xC3\xA9");
    const QString euro = QString::fromUtf8("\xE2\x82\xAC");
    const std::pair<unsigned int, QString> cases[] = {
        {1, QString(499, QLatin1Char('a'))},                // one-byte characters
        {2, e.repeated(499)},                               // two-byte characters
        {3, euro.repeated(499)},                            // more bytes than the load buffer holds
        {4, QString(499, QLatin1Char('b'))},                // exactly 499 stays whole
        {5, QString(498, QLatin1Char('c')) + euro},         // the cut counts characters, not bytes
    };
    for (const auto& [id, want] : cases) {
        const QString got = longTexts.GetString(id);
        EXPECT_EQ(got.size(), 499) << "id " << id;
        EXPECT_EQ(got, want) << "id " << id;
    }
}

TEST(Language, ScannerFindsIdsInCallsAndTables) {
    const QString sample = QStringLiteral(
        "label->setText(GetString(1001));  // GetString(1) in a comment\n"
        "/* GetString(2) */ auto s = \"GetString(3)\";\n"
        "constexpr unsigned kCaptionIds[] = {2001, 2002,\n"
        "    2003};\n"
        "x = m.GetString( 42u );\n"
        "std::array<unsigned, 2> kHintIds = {0x10, 7};\n"
        "GetString(kCaptionIds[1]); GetString(n + 4);\n"
        "const int other[] = {5, 6};\n");
    std::map<unsigned int, int> got;
    for (const auto& [id, line] : idsUsedIn(sample)) got[id] = line;
    const std::map<unsigned int, int> want = {{1001, 1}, {2001, 3}, {2002, 3}, {2003, 4}, {42, 5}, {16, 6}, {7, 6}};
    EXPECT_EQ(got, want);

    const QString helpers = QStringLiteral(
        "Warn(1090); // Warn(1091)\n"
        "SetNetcard(0, 1163); const Hint h[] = {{Button, 1002}};\n"
        "x = 1.1050; y = 0x1050; z = 10500; w = 1'050; v = 3000; u = \"1052\"; t = k1053;\n");
    std::map<unsigned int, int> numbers;
    for (const auto& [n, line] : bandNumbersIn(helpers)) numbers[n] = line;
    const std::map<unsigned int, int> wantNumbers = {{1090, 1}, {1163, 2}, {1002, 2}};
    EXPECT_EQ(numbers, wantNumbers);
}

TEST(Language, EveryIdUsedInTheSourcesHasAText) {
    const QStringList files = programSources();
    ASSERT_FALSE(files.isEmpty());
    const QDir root(QStringLiteral(LINKORA_SOURCE_DIR));
    int uses = 0;
    QStringList missing;
    for (const QString& file : files) {
        for (const auto& [id, line] : idsUsedIn(readFile(file))) {
            ++uses;
            if (english().GetString(id).isEmpty())
                missing << QStringLiteral("%1:%2: id %3").arg(root.relativeFilePath(file)).arg(line).arg(id);
        }
    }
    EXPECT_GT(uses, 0) << "no GetString(<number>) found in the sources: the scan is broken";
    EXPECT_TRUE(missing.isEmpty()) << "ids without a text:\n" << missing.join(QLatin1Char('\n')).toStdString();
}

TEST(Language, NumbersInWindowCodeThatLookLikeIdsHaveTexts) {
    const QStringList files = programSources();
    const std::set<unsigned int> messages = windowMessageNumbers(files);
    ASSERT_TRUE(messages.count(1125)) << "UM_DEVICE_STATE not found: the scan is broken";
    static const QStringList windowFolders = {QStringLiteral("app"),      QStringLiteral("connect"), QStringLiteral("sms"),
                                              QStringLiteral("phonebook"), QStringLiteral("calls"),  QStringLiteral("services"),
                                              QStringLiteral("prefs"),    QStringLiteral("widgets")};
    const QDir root(QStringLiteral(LINKORA_SOURCE_DIR));
    QStringList missing;
    for (const QString& file : files) {
        const QString rel = root.relativeFilePath(file);
        const QStringList parts = rel.split(QLatin1Char('/'));
        if (parts.size() < 2 || !windowFolders.contains(parts[0]) || parts.contains(QLatin1String("domain"))) continue;
        for (const auto& [n, line] : bandNumbersIn(readFile(file))) {
            if (messages.count(n) || kNotIds.count(n)) continue;
            if (english().GetString(n).isEmpty()) missing << QStringLiteral("%1:%2: %3").arg(rel).arg(line).arg(n);
        }
    }
    EXPECT_TRUE(missing.isEmpty()) << "numbers in the string-id bands without a text (a missing text, or a number "
                                      "that is no id: then add it to kNotIds with its meaning):\n"
                                   << missing.join(QLatin1Char('\n')).toStdString();
}

TEST(Language, FormattedTextsCarryTheirPlaceholders) {
    // Callers fill these with QString::arg; a lost placeholder loses the value.
    const std::pair<unsigned int, int> cases[] = {{4009, 1}, {4010, 1}, {4049, 1}, {4053, 3},
                                                  {4072, 1}, {4077, 1}, {4080, 1}};
    for (const auto& [id, count] : cases) {
        const QString t = english().GetString(id);
        for (int k = 1; k <= count; ++k) EXPECT_TRUE(t.contains(QStringLiteral("%%1").arg(k))) << "id " << id << " lacks %" << k;
        EXPECT_FALSE(t.contains(QStringLiteral("%%1").arg(count + 1))) << "id " << id;
    }
    // No printf-style conversions: QString::arg would leave them in the text.
    static const QRegularExpression printfStyle(QStringLiteral("%[-+#0]*[0-9]*(?:\\.[0-9]+)?(?:ll|l|h)?[sdifux]"));
    for (const Entry& e : tableInSource()) EXPECT_FALSE(e.text.contains(printfStyle)) << "id " << e.id << ": " << e.text.toStdString();
}

TEST(Language, JoinedTextsKeepTheirSeparators) {
    // A value is appended to these (a file name, a number, a profile name...).
    for (unsigned int id : {1018u, 1046u, 1047u, 1048u, 2039u, 2054u, 2055u, 2061u, 5001u, 5048u, 6005u, 6010u, 6012u,
                            6015u, 6020u, 6021u, 6023u, 6024u, 9004u, 9006u})
        EXPECT_TRUE(english().GetString(id).endsWith(QLatin1Char(' '))) << "id " << id << " must end in a space";
    // These are appended to a value (a count, an amount, a number).
    for (unsigned int id : {1174u, 6004u, 6022u, 2041u})
        EXPECT_TRUE(english().GetString(id).startsWith(QLatin1Char(' '))) << "id " << id << " must start with a space";
    // Duration pieces: hours, minutes and seconds units must all be present.
    for (unsigned int id : {6001u, 6002u, 6003u}) EXPECT_FALSE(english().GetString(id).trimmed().isEmpty()) << "id " << id;
}

TEST(Language, TrayHintsFitTheTray) {
    // The tray keeps its previous hint when the new one has 64 characters or more.
    for (unsigned int id : {1012u, 1013u, 1051u, 1057u, 1163u, 1164u, 1165u, 1166u, 1167u, 1168u, 1169u, 1170u, 1171u,
                            1172u, 1173u})
        EXPECT_LT(english().GetString(id).size(), 64) << "id " << id;
    // The connection summary with large amounts and a long connection still fits.
    const QString duration = QStringLiteral("99") + english().GetString(6001) + QStringLiteral("59") + english().GetString(6002) +
                             QStringLiteral("59") + english().GetString(6003);
    const QString summary = english().GetString(1046) + QStringLiteral("99999.99") + english().GetString(6004) +
                            QStringLiteral("\r\n") + english().GetString(1047) + QStringLiteral("99999.99") +
                            english().GetString(6004) + QStringLiteral("\r\n") + english().GetString(1048) + duration;
    EXPECT_LT(summary.size(), 64) << summary.toStdString();
}
