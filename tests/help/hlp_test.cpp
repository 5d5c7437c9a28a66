#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tools/hlpfile.h"

namespace {

std::vector<uint8_t> readFile(const char *path)
{
    std::vector<uint8_t> bytes;
    FILE *f = fopen(path, "rb");
    if (!f) return bytes;
    uint8_t buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    fclose(f);
    return bytes;
}

std::vector<uint8_t> compile(const std::string &text)
{
    HelpSource source;
    std::vector<uint8_t> file;
    std::string error;
    EXPECT_TRUE(parseHelpSource(text, source, error)) << error;
    EXPECT_TRUE(buildHelpFile(source, file, error)) << error;
    return file;
}

// Each topic of the file read back must be the source's topic of the same
// place, reachable through its context name, with every jump landing on a
// topic and the browse sequence in source order.
void expectMatches(const HelpSource &source, const HelpFileContents &file)
{
    ASSERT_EQ(file.topics.size(), source.topics.size());
    std::map<int32_t, uint32_t> contexts(file.contexts.begin(), file.contexts.end());
    EXPECT_EQ(contexts.size(), source.topics.size());
    EXPECT_EQ(file.contentsOffset, file.topics[0].offset);
    for (size_t i = 0; i < source.topics.size(); i++) {
        const HelpTopic &want = source.topics[i];
        const HelpFileTopic &got = file.topics[i];
        EXPECT_EQ(got.title, want.title);
        EXPECT_EQ(got.text.substr(0, want.title.size()), want.title) << "the title is the first paragraph";
        auto c = contexts.find(helpContextHash(want.context.c_str()));
        ASSERT_NE(c, contexts.end()) << want.context;
        EXPECT_EQ(c->second, got.offset) << want.context;
        EXPECT_EQ(got.browsePrevious, i > 0 ? file.topics[i - 1].offset : 0xFFFFFFFFu);
        EXPECT_EQ(got.browseNext, i + 1 < file.topics.size() ? file.topics[i + 1].offset : 0xFFFFFFFFu);
        size_t jumps = 0;
        for (const HelpParagraph &p : want.paragraphs)
            for (const HelpSpan &s : p.spans) {
                EXPECT_NE(got.text.find(s.text), std::string::npos) << want.context << ": " << s.text;
                if (s.kind == SPAN_JUMP) {
                    ASSERT_LT(jumps, got.jumps.size());
                    EXPECT_EQ(got.jumps[jumps], helpContextHash(s.target.c_str()));
                    EXPECT_TRUE(contexts.count(got.jumps[jumps]));
                    jumps++;
                }
            }
        EXPECT_EQ(jumps, got.jumps.size());
        for (const std::string &k : want.keywords) {
            auto found = std::find_if(file.keywords.begin(), file.keywords.end(),
                                      [&](const std::pair<std::string, uint32_t> &e) { return e.first == k; });
            ASSERT_NE(found, file.keywords.end()) << k;
            EXPECT_EQ(found->second, got.offset) << k;
        }
    }
    size_t keywords = 0;
    for (const HelpTopic &t : source.topics) keywords += t.keywords.size();
    EXPECT_EQ(file.keywords.size(), keywords);
}

TEST(HelpFile, ShippedFileHoldsEveryTopicOfTheSource)
{
    std::vector<uint8_t> text = readFile(HELP_SOURCE);
    std::vector<uint8_t> bytes = readFile(HELP_FILE);
    ASSERT_FALSE(text.empty()) << HELP_SOURCE;
    ASSERT_FALSE(bytes.empty()) << HELP_FILE;

    HelpSource source;
    HelpFileContents file;
    std::string error;
    ASSERT_TRUE(parseHelpSource(std::string(text.begin(), text.end()), source, error)) << error;
    ASSERT_TRUE(readHelpFile(bytes, file, error)) << error;
    EXPECT_EQ(file.title, "Quillon 95 Help");
    EXPECT_EQ(file.mainCaption, "Quillon 95 Help");
    EXPECT_EQ(file.minor, 21);
    EXPECT_EQ(file.flags, 0);
    expectMatches(source, file);
    EXPECT_EQ(source.topics[0].context, "contents");
    EXPECT_EQ(bytes, compile(std::string(text.begin(), text.end()))) << "the file is not built from the current source";
}

TEST(HelpText, Layout)
{
    std::string words;
    for (int i = 0; i < 16; i++) words += " word" + std::to_string(i);
    HelpSource source;
    std::string error;
    ASSERT_TRUE(parseHelpSource("@title The Help\n@topic a First topic\n@keywords k\nSee **bold** and [[a jump|b]].\n\n"
                                "= Sub\n- one\n- two" + words + "\nend\n@topic b Second\n"
                                "x  two  blanks   kept" + std::string(80, 'y') + " z\n",
                                source, error)) << error;
    EXPECT_EQ("The Help\r\n========\r\n\r\n"
              "\r\nFirst topic\r\n-----------\r\n\r\n"
              "See bold and a jump.\r\n\r\n"
              "Sub\r\n~~~\r\n\r\n"
              "  - one\r\n"
              "  - two word0 word1 word2 word3 word4 word5 word6 word7 word8 word9\r\n"
              "    word10 word11 word12 word13 word14 word15 end\r\n\r\n"
              "\r\nSecond\r\n------\r\n\r\n"
              "x  two  blanks\r\nkept" + std::string(80, 'y') + "\r\nz\r\n\r\n",
              renderHelpText(source));

    // A bold phrase, such as a command to type, stays on one line.
    ASSERT_TRUE(parseHelpSource("@topic a A\n= A **b c**\n" + std::string(60, 'w') + " **quillon95 C:\\F.BIN** x\n", source, error));
    EXPECT_NE(std::string::npos, renderHelpText(source).find("\r\nquillon95 C:\\F.BIN x\r\n"));
    EXPECT_NE(std::string::npos, renderHelpText(source).find("A b c\r\n~~~~~\r\n"));
}

TEST(HelpFile, ManyTopicsSpanSeveralBlocks)
{
    // Long paragraphs push the topics over many 4 KB blocks, so topic
    // offsets carry block numbers and jumps cross blocks.
    std::string text = "@title Long\n";
    const int topics = 40;
    for (int t = 0; t < topics; t++) {
        text += "@topic t" + std::to_string(t) + " Topic number " + std::to_string(t) + "\n";
        for (int p = 0; p < 3; p++) {
            text += "Paragraph " + std::to_string(p) + " of " + std::to_string(t) + ":";
            for (int w = 0; w < 60; w++) text += " word" + std::to_string(w);
            text += " See [[the next|t" + std::to_string((t + 1) % topics) + "]] and **bold " +
                    std::to_string(t) + "**.\n\n";
        }
        text += "- item a\n- item b\n= Heading\n@keywords word " + std::to_string(t) + "; Word x" +
                std::to_string(t) + "\n";
    }
    HelpSource source;
    HelpFileContents file;
    std::string error;
    ASSERT_TRUE(parseHelpSource(text, source, error)) << error;
    std::vector<uint8_t> bytes = compile(text);
    ASSERT_TRUE(readHelpFile(bytes, file, error)) << error;
    expectMatches(source, file);
    EXPECT_GT(file.topics.back().offset >> 15, 10u) << "the topics should reach beyond block 10";
    EXPECT_EQ(file.title, "Long");
}

// The paragraphs of a topic as "style:text" with bold as *...* and jumps
// as <text|target>.
std::vector<std::string> paragraphsOf(const std::string &text)
{
    HelpSource source;
    std::string error;
    EXPECT_TRUE(parseHelpSource(text, source, error)) << error;
    std::vector<std::string> out;
    if (source.topics.empty()) return out;
    for (const HelpParagraph &p : source.topics[0].paragraphs) {
        std::string s = p.style == PARA_HEADING ? "H:" : p.style == PARA_ITEM ? "I:" : "P:";
        for (const HelpSpan &span : p.spans) {
            if (span.kind == SPAN_BOLD) s += "*" + span.text + "*";
            else if (span.kind == SPAN_JUMP) s += "<" + span.text + "|" + span.target + ">";
            else s += span.text;
        }
        out.push_back(s);
    }
    return out;
}

TEST(HelpFile, SourceParagraphs)
{
    struct Case {
        const char *text;
        std::vector<std::string> paragraphs;
    } cases[] = {
        {"@topic a A\none\ntwo\n\nthree\n", {"P:one two", "P:three"}},
        {"@topic a A\n= Head\nbody\nmore\n", {"H:Head", "P:body more"}},
        {"@topic a A\n- first\n  goes on\n- second\nafter\n", {"I:first goes on", "I:second after"}},
        {"@topic a A\n# comment\n  text **bold** and [[jump|a]].\r\n", {"P:text *bold* and <jump|a>."}},
        {"@topic a A\n**b****c**\n", {"P:*b**c*"}},
        {"@topic a A\n\n\n", {}},
    };
    for (const Case &c : cases) EXPECT_EQ(paragraphsOf(c.text), c.paragraphs) << c.text;
}

TEST(HelpFile, SourceErrorsAreReported)
{
    struct Case {
        const char *text;
        const char *message;
    } cases[] = {
        {"some text\n", "line 1: text before the first @topic"},
        {"@topic\n", "line 1: @topic needs a context name"},
        {"@topic a-b Title\n", "line 1: @topic needs a context name"},
        {"@topic a\n", "line 1: @topic needs a context name"},
        {"@topic a A\n\n@bogus x\n", "line 3: unknown directive @bogus"},
        {"@topic a A\ntext **open\n", "line 2: ** is not closed"},
        {"@topic a A\nsee [[there]]\n", "line 2: a jump needs [[text|context]]"},
        {"@topic a A\nsee [[|a]]\n", "line 2: bad jump"},
        {"@topic a A\nfirst\nsecond [[x|nowhere]]\n", "line 2: jump to unknown topic nowhere"},
        {"@topic a A\n@topic a B\n", "line 2: context a is used twice"},
        {"@topic a A\n@topic A B\n", "line 2: context A has the hash of a"},
        {"# only a comment\n", "the source has no @topic"},
        {"@keywords x\n@topic a A\n", "line 1: @keywords before the first @topic"},
        {"@topic a A\n@keywords Save; x\n@topic b B\n@keywords y; save\n", "line 3: keyword \"save\" is already given to a"},
    };
    for (const Case &c : cases) {
        HelpSource source;
        std::vector<uint8_t> file;
        std::string error;
        bool ok = parseHelpSource(c.text, source, error) && buildHelpFile(source, file, error);
        EXPECT_FALSE(ok) << c.text;
        EXPECT_EQ(error.compare(0, strlen(c.message), c.message), 0) << c.text << " gave: " << error;
    }

    HelpSource source;
    std::vector<uint8_t> file;
    std::string error;
    ASSERT_TRUE(parseHelpSource("@topic a A\n" + std::string(5000, 'x') + "\n", source, error));
    EXPECT_FALSE(buildHelpFile(source, file, error));
    EXPECT_EQ(error, "line 2: paragraph too long for a topic block");
}

TEST(HelpFile, ContextHashes)
{
    struct Case {
        const char *name;
        int32_t hash;
    } cases[] = {
        {"", 0},
        {"a", 17},
        {"A", 17},
        {"z", 42},
        {"1", 1},
        {"9", 9},
        {"0", 10},
        {".", 12},
        {"_", 13},
        {"ab", 17 * 43 + 18},
        {"a-b", 17 * 43 + 18},             // characters outside the table do not count
        {"limits", (int32_t)0xFA94DD24},   // as the help engine computed it
    };
    for (const Case &c : cases) EXPECT_EQ(helpContextHash(c.name), c.hash) << c.name;
}

TEST(HelpFile, PackedNumbers)
{
    struct Unsigned {
        uint16_t value;
        std::vector<uint8_t> bytes;
    } unsigned16[] = {
        {0, {0x00}}, {5, {0x0A}}, {127, {0xFE}}, {128, {0x01, 0x01}}, {200, {0x91, 0x01}}, {0x7FFF, {0xFF, 0xFF}},
    };
    for (const Unsigned &c : unsigned16) {
        std::vector<uint8_t> out;
        putPackedUnsigned16(out, c.value);
        EXPECT_EQ(out, c.bytes) << c.value;
        const uint8_t *p = out.data();
        uint16_t back = 0;
        ASSERT_TRUE(getPackedUnsigned16(p, out.data() + out.size(), back));
        EXPECT_EQ(back, c.value);
        EXPECT_EQ(p, out.data() + out.size());
    }
    struct Signed {
        int32_t value;
        std::vector<uint8_t> bytes;
    } signed32[] = {
        {0, {0x00, 0x80}},
        {-1, {0xFE, 0x7F}},
        {0x3FFF, {0xFE, 0xFF}},
        {-0x4000, {0x00, 0x00}},
        {0x4000, {0x01, 0x80, 0x00, 0x80}},
        {20000, {0x41, 0x9C, 0x00, 0x80}},
        {-20000, {0xC1, 0x63, 0xFF, 0x7F}},
    };
    for (const Signed &c : signed32) {
        std::vector<uint8_t> out;
        putPackedSigned32(out, c.value);
        EXPECT_EQ(out, c.bytes) << c.value;
        const uint8_t *p = out.data();
        int32_t back = 0;
        ASSERT_TRUE(getPackedSigned32(p, out.data() + out.size(), back));
        EXPECT_EQ(back, c.value);
    }
    const uint8_t cut[] = {0x01};
    const uint8_t *p = cut;
    int32_t v;
    EXPECT_FALSE(getPackedSigned32(p, cut + 1, v));
}

TEST(HelpFile, ReaderRejectsDamagedFiles)
{
    const std::string text = "@topic one One\nSee [[two|two]].\n\n@topic two Two\nBack to [[one|one]].\n";
    const std::vector<uint8_t> good = compile(text);
    HelpFileContents file;
    std::string error;
    ASSERT_TRUE(readHelpFile(good, file, error)) << error;

    auto find = [&](const std::vector<uint8_t> &bytes, const std::string &s) {
        auto it = std::search(bytes.begin(), bytes.end(), s.begin(), s.end());
        EXPECT_NE(it, bytes.end()) << s;
        return (size_t)(it - bytes.begin());
    };
    auto get32 = [](const std::vector<uint8_t> &b, size_t at) {
        return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | (uint32_t)b[at + 3] << 24;
    };
    // The |SYSTEM header: its magic is followed by minor 21, major 1.
    const uint8_t systemMagic[] = {0x6C, 0x03, 21, 0, 1, 0};
    size_t system = std::search(good.begin(), good.end(), systemMagic, systemMagic + 6) - good.begin();
    size_t topicFile = get32(good, find(good, std::string("|TOPIC") + '\0') + 7);
    size_t firstLink = topicFile + 9 + 12;

    struct Case {
        const char *what;
        std::function<void(std::vector<uint8_t> &)> damage;
        const char *message;
    } cases[] = {
        {"magic", [](std::vector<uint8_t> &b) { b[0] = 0; }, "not a help file"},
        {"size", [](std::vector<uint8_t> &b) { b.push_back(0); }, "file size differs from the header"},
        {"directory order", [&](std::vector<uint8_t> &b) { b[find(b, "|FONT")] = '~'; }, "tree out of order"},
        {"version", [&](std::vector<uint8_t> &b) { b[system + 2] = 22; }, "not an uncompressed Windows 3.1 help file"},
        {"compressed", [&](std::vector<uint8_t> &b) { b[system + 10] = 4; }, "not an uncompressed Windows 3.1 help file"},
        {"link type", [&](std::vector<uint8_t> &b) { b[firstLink + 20] = 0x23; }, "unknown topic link type"},
        {"next link backwards", [&](std::vector<uint8_t> &b) { b[firstLink + 12] = 0x0C; b[firstLink + 13] = 0; b[firstLink + 14] = 0; b[firstLink + 15] = 0; },
         "topic links go backwards"},
        {"internal file too big", [&](std::vector<uint8_t> &b) { b[topicFile + 3] = 0x40; }, "internal file past the end"},
    };
    for (const Case &c : cases) {
        std::vector<uint8_t> bad = good;
        c.damage(bad);
        EXPECT_FALSE(readHelpFile(bad, file, error)) << c.what;
        EXPECT_EQ(error.compare(0, strlen(c.message), c.message), 0) << c.what << " gave: " << error;
    }
}

}  // namespace
