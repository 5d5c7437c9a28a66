// Writer and reader of Windows Help 3.1 files (see hlpfile.h).
//
// The file: a 16-byte header, then internal files, each behind a 9-byte
// file header, found through a directory that is a B+ tree. The internal
// files written here: |SYSTEM (version, title, contents topic), |TOPIC
// (topic links in 4 KB blocks), |FONT (the font table), |CONTEXT (a B+
// tree from context-name hashes to topic offsets) and the keyword index:
// |KWBTREE (a B+ tree of keywords, each with its count of topics and the
// place of their offsets in |KWDATA) and |KWDATA (the topic offsets).
#include "tools/hlpfile.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

const uint32_t FILE_MAGIC = 0x00035F3F;
const uint16_t BTREE_MAGIC = 0x293B;
const uint16_t SYSTEM_MAGIC = 0x036C;
const uint16_t HELP_MINOR = 21;  // Windows 3.1
const uint16_t HELP_MAJOR = 1;
const uint32_t BLOCK_SIZE = 4096;
const uint32_t BLOCK_HEADER = 12;
const uint32_t BLOCK_DATA = BLOCK_SIZE - BLOCK_HEADER;
const uint32_t LINK_HEADER = 21;
const uint32_t TOPIC_HEADER_DATA = 28;
const uint32_t NONE = 0xFFFFFFFF;
const uint16_t DIRECTORY_PAGE = 1024;
const uint16_t CONTEXT_PAGE = 2048;
const uint16_t KEYWORD_PAGE = 2048;
const uint32_t LEAF_HEADER = 8;

enum { LINK_TOPIC_HEADER = 0x02, LINK_DISPLAY = 0x20 };
enum {
    CMD_FONT = 0x80, CMD_LINE = 0x81, CMD_PARAGRAPH = 0x82, CMD_TAB = 0x83,
    CMD_HOTSPOT_END = 0x89, CMD_NBSP = 0x8B, CMD_NBHYPHEN = 0x8C,
    CMD_JUMP = 0xE3, CMD_END = 0xFF
};
enum { FONT_BODY, FONT_HEADING, FONT_BOLD, FONT_SUBHEADING, FONT_COUNT };
// A window definition of |SYSTEM: which fields count, then the type, name
// and caption fields, each ended by a zero, then places, sizes and colours.
enum {
    WINDOW_RECORD_SIZE = 90,
    WINDOW_HAS_TYPE = 0x01, WINDOW_HAS_NAME = 0x02, WINDOW_HAS_CAPTION = 0x04,
    WINDOW_TYPE_AT = 2, WINDOW_NAME_AT = 12, WINDOW_CAPTION_AT = 21, WINDOW_CAPTION_CHARS = 50
};

void put16(std::vector<uint8_t> &out, uint32_t v)
{
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void put32(std::vector<uint8_t> &out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void set32(std::vector<uint8_t> &out, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; i++) out[at + i] = (v >> (8 * i)) & 0xFF;
}

uint16_t get16(const uint8_t *p) { return (uint16_t)(p[0] | (p[1] << 8)); }
uint32_t get32(const uint8_t *p) { return (uint32_t)get16(p) | ((uint32_t)get16(p + 2) << 16); }

std::string at(int line, const std::string &what)
{
    char buf[32];
    snprintf(buf, sizeof buf, "line %d: ", line);
    return buf + what;
}

// ---------------------------------------------------------------- source

std::string trim(const std::string &s)
{
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool validContext(const std::string &name)
{
    if (name.empty()) return false;
    for (char c : name)
        if (!(isalnum((unsigned char)c) || c == '.' || c == '_')) return false;
    return true;
}

bool parseSpans(const std::string &text, int line, std::vector<HelpSpan> &spans, std::string &error)
{
    std::string plain;
    bool bold = false;
    size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, 2, "**") == 0) {
            if (!plain.empty()) spans.push_back({bold ? SPAN_BOLD : SPAN_TEXT, plain, ""});
            plain.clear();
            bold = !bold;
            i += 2;
        } else if (text.compare(i, 2, "[[") == 0) {
            size_t close = text.find("]]", i);
            size_t bar = text.find('|', i);
            if (close == std::string::npos || bar == std::string::npos || bar > close) {
                error = at(line, "a jump needs [[text|context]]");
                return false;
            }
            std::string shown = text.substr(i + 2, bar - i - 2);
            std::string target = text.substr(bar + 1, close - bar - 1);
            if (shown.empty() || !validContext(target)) {
                error = at(line, "bad jump [[" + shown + "|" + target + "]]");
                return false;
            }
            if (!plain.empty()) spans.push_back({bold ? SPAN_BOLD : SPAN_TEXT, plain, ""});
            plain.clear();
            spans.push_back({SPAN_JUMP, shown, target});
            i = close + 2;
        } else {
            plain += text[i++];
        }
    }
    if (bold) {
        error = at(line, "** is not closed");
        return false;
    }
    if (!plain.empty()) spans.push_back({SPAN_TEXT, plain, ""});
    return true;
}

}  // namespace

int32_t helpContextHash(const char *name)
{
    uint32_t hash = 0;
    for (const char *p = name; *p; p++) {
        char c = *p;
        uint32_t x = 0;
        if (c >= 'A' && c <= 'Z') x = c - 'A' + 17;
        if (c >= 'a' && c <= 'z') x = c - 'a' + 17;
        if (c >= '1' && c <= '9') x = c - '0';
        if (c == '0') x = 10;
        if (c == '.') x = 12;
        if (c == '_') x = 13;
        if (x) hash = hash * 43 + x;
    }
    return (int32_t)hash;
}

void putPackedUnsigned16(std::vector<uint8_t> &out, uint16_t value)
{
    if (value < 0x80) {
        out.push_back((uint8_t)(value * 2));
    } else {
        put16(out, (uint32_t)value * 2 + 1);  // values from 0x8000 on do not fit
    }
}

void putPackedSigned32(std::vector<uint8_t> &out, int32_t value)
{
    if (value >= -0x4000 && value < 0x4000) {
        put16(out, (uint32_t)(value + 0x4000) * 2);
    } else {
        put32(out, (uint32_t)(value + 0x40000000) * 2 + 1);
    }
}

bool getPackedUnsigned16(const uint8_t *&p, const uint8_t *end, uint16_t &value)
{
    if (p >= end) return false;
    if (*p & 1) {
        if (end - p < 2) return false;
        value = get16(p) / 2;
        p += 2;
    } else {
        value = *p / 2;
        p += 1;
    }
    return true;
}

bool getPackedSigned32(const uint8_t *&p, const uint8_t *end, int32_t &value)
{
    if (p >= end) return false;
    if (*p & 1) {
        if (end - p < 4) return false;
        value = (int32_t)((int64_t)get32(p) / 2 - 0x40000000);
        p += 4;
    } else {
        if (end - p < 2) return false;
        value = (int32_t)get16(p) / 2 - 0x4000;
        p += 2;
    }
    return true;
}

namespace {

bool getPackedSigned16(const uint8_t *&p, const uint8_t *end)
{
    if (p >= end) return false;
    p += (*p & 1) ? 2 : 1;
    return p <= end;
}

}  // namespace

bool parseHelpSource(const std::string &text, HelpSource &out, std::string &error)
{
    out = HelpSource();
    HelpParagraph *open = NULL;  // the text paragraph that lines are joined into
    std::string pending;
    int pendingLine = 0;
    int lineNo = 0;
    size_t pos = 0;

    auto flush = [&]() -> bool {
        if (open) {
            if (!parseSpans(pending, pendingLine, open->spans, error)) return false;
            if (open->spans.empty()) out.topics.back().paragraphs.pop_back();
        }
        open = NULL;
        pending.clear();
        return true;
    };

    while (pos <= text.size()) {
        size_t nl = text.find('\n', pos);
        if (nl == std::string::npos) nl = text.size();
        std::string raw = text.substr(pos, nl - pos);
        pos = nl + 1;
        lineNo++;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::string line = trim(raw);

        if (!line.empty() && line[0] == '#') continue;
        if (line.empty()) {
            if (!flush()) return false;
            continue;
        }
        if (line[0] == '@') {
            if (!flush()) return false;
            size_t sp = line.find(' ');
            std::string word = line.substr(0, sp);
            std::string rest = sp == std::string::npos ? "" : trim(line.substr(sp));
            if (word == "@title") {
                out.title = rest;
            } else if (word == "@copyright") {
                out.copyright = rest;
            } else if (word == "@keywords") {
                if (out.topics.empty()) {
                    error = at(lineNo, "@keywords before the first @topic");
                    return false;
                }
                size_t from = 0;
                while (from <= rest.size()) {
                    size_t semi = rest.find(';', from);
                    if (semi == std::string::npos) semi = rest.size();
                    std::string k = trim(rest.substr(from, semi - from));
                    if (!k.empty()) out.topics.back().keywords.push_back(k);
                    from = semi + 1;
                }
            } else if (word == "@topic") {
                size_t s2 = rest.find(' ');
                HelpTopic t;
                t.context = rest.substr(0, s2);
                t.title = s2 == std::string::npos ? "" : trim(rest.substr(s2));
                t.line = lineNo;
                if (!validContext(t.context) || t.title.empty()) {
                    error = at(lineNo, "@topic needs a context name (letters, digits, '.', '_') and a title");
                    return false;
                }
                out.topics.push_back(t);
            } else {
                error = at(lineNo, "unknown directive " + word);
                return false;
            }
            continue;
        }
        if (out.topics.empty()) {
            error = at(lineNo, "text before the first @topic");
            return false;
        }
        std::vector<HelpParagraph> &paras = out.topics.back().paragraphs;
        if (line.size() >= 2 && (line[0] == '=' || line[0] == '-') && line[1] == ' ') {
            // A heading is its line alone; an item goes on over the lines after it.
            if (!flush()) return false;
            paras.push_back({line[0] == '=' ? PARA_HEADING : PARA_ITEM, {}, lineNo});
            open = &paras.back();
            pending = trim(line.substr(2));
            pendingLine = lineNo;
            if (line[0] == '=' && !flush()) return false;
            continue;
        }
        if (!open) {
            paras.push_back({PARA_TEXT, {}, lineNo});
            open = &paras.back();
            pendingLine = lineNo;
        } else {
            pending += ' ';
        }
        pending += line;
    }
    if (!flush()) return false;
    if (out.topics.empty()) {
        error = "the source has no @topic";
        return false;
    }
    if (out.title.empty()) out.title = out.topics[0].title;
    return true;
}

// ---------------------------------------------------------------- writer

namespace {

// Keywords are kept in the order of their upper-case forms.
std::string keywordKey(const std::string &k)
{
    std::string u = k;
    for (char &c : u) c = (char)toupper((unsigned char)c);
    return u;
}

bool keywordBefore(const std::string &a, const std::string &b)
{
    std::string ka = keywordKey(a), kb = keywordKey(b);
    return ka != kb ? ka < kb : a < b;
}

struct TopicLink {
    uint8_t type;
    std::vector<uint8_t> data1, data2;
    int topic;
    uint32_t block, place;  // where it lands
    uint32_t position() const { return block * 0x4000 + BLOCK_HEADER + place; }
    uint32_t size() const { return LINK_HEADER + data1.size() + data2.size(); }
};

// Collects the strings and the formatting commands of one paragraph: each
// command follows the string before it.
struct ParagraphText {
    std::vector<uint8_t> commands;
    std::string strings;
    uint32_t chars = 0;
    void text(const std::string &s) { strings += s; chars += s.size(); }
    void command(std::initializer_list<uint8_t> bytes)
    {
        strings += '\0';
        commands.insert(commands.end(), bytes);
        if (*bytes.begin() == CMD_PARAGRAPH || *bytes.begin() == CMD_LINE || *bytes.begin() == CMD_TAB)
            chars++;
    }
    void font(int f) { command({CMD_FONT, (uint8_t)f, 0}); }
};

TopicLink paragraphLink(const ParagraphText &t, int topic)
{
    TopicLink link;
    link.type = LINK_DISPLAY;
    link.topic = topic;
    putPackedSigned32(link.data1, (int32_t)t.strings.size());
    putPackedUnsigned16(link.data1, (uint16_t)t.chars);
    const uint8_t noSettings[] = {0x00, 0x80, 0x00, 0x00, 0x00, 0x00};  // plain left-aligned paragraph
    link.data1.insert(link.data1.end(), noSettings, noSettings + sizeof noSettings);
    link.data1.insert(link.data1.end(), t.commands.begin(), t.commands.end());
    link.data2.assign(t.strings.begin(), t.strings.end());
    return link;
}

TopicLink displayLink(const HelpParagraph &p, bool blankAfter, int topic)
{
    ParagraphText t;
    switch (p.style) {
    case PARA_HEADING: t.font(FONT_SUBHEADING); break;
    case PARA_ITEM: t.font(FONT_BODY); t.text("\x95 "); break;
    case PARA_TEXT: t.font(FONT_BODY); break;
    }
    for (const HelpSpan &s : p.spans) {
        if (s.kind == SPAN_BOLD) {
            t.font(FONT_BOLD);
            t.text(s.text);
            t.font(FONT_BODY);
        } else if (s.kind == SPAN_JUMP) {
            uint32_t h = (uint32_t)helpContextHash(s.target.c_str());
            t.command({CMD_JUMP, (uint8_t)h, (uint8_t)(h >> 8), (uint8_t)(h >> 16), (uint8_t)(h >> 24)});
            t.text(s.text);
            t.command({CMD_HOTSPOT_END});
        } else {
            t.text(s.text);
        }
    }
    t.command({CMD_PARAGRAPH});
    if (blankAfter) t.command({CMD_PARAGRAPH});
    t.command({CMD_END});
    return paragraphLink(t, topic);
}

// The topic's title, shown as its first paragraph.
TopicLink titleLink(const HelpTopic &topic, int index)
{
    ParagraphText t;
    t.font(FONT_HEADING);
    t.text(topic.title);
    t.command({CMD_PARAGRAPH});
    t.command({CMD_PARAGRAPH});
    t.command({CMD_END});
    return paragraphLink(t, index);
}

uint32_t displayedChars(const TopicLink &link)
{
    const uint8_t *p = link.data1.data(), *end = p + link.data1.size();
    int32_t size;
    uint16_t chars = 0;
    getPackedSigned32(p, end, size);
    getPackedUnsigned16(p, end, chars);
    return chars;
}

// A B+ tree of one leaf page holding the given entries, already sorted.
std::vector<uint8_t> oneLeafTree(const char *structure, uint16_t flags, uint16_t pageSize,
                                 const std::vector<uint8_t> &entries, uint32_t count)
{
    std::vector<uint8_t> out;
    put16(out, BTREE_MAGIC);
    put16(out, flags);
    put16(out, pageSize);
    char s[16] = {0};
    strncpy(s, structure, sizeof s - 1);
    out.insert(out.end(), s, s + 16);
    put16(out, 0);       // must be zero
    put16(out, 0);       // page splits
    put16(out, 0);       // root page
    put16(out, 0xFFFF);  // must be -1
    put16(out, 1);       // total pages
    put16(out, 1);       // levels
    put32(out, count);
    put16(out, pageSize - LEAF_HEADER - entries.size());  // unused bytes of the page
    put16(out, count);
    put16(out, 0xFFFF);  // previous page
    put16(out, 0xFFFF);  // next page
    out.insert(out.end(), entries.begin(), entries.end());
    out.resize(38 + pageSize, 0);
    return out;
}

void putInternalFile(std::vector<uint8_t> &out, const std::vector<uint8_t> &content)
{
    put32(out, content.size() + 9);  // reserved, this header included
    put32(out, content.size());      // used
    out.push_back(4);
    out.insert(out.end(), content.begin(), content.end());
}

std::vector<uint8_t> fontFile()
{
    struct Face { uint8_t attributes, halfPoints, family; uint16_t face; };
    // bold 1, family 3 swiss; face 0 "Arial"
    const Face fonts[FONT_COUNT] = {
        {0, 20, 3, 0},  // body, 10 points
        {1, 28, 3, 0},  // topic title, 14 points bold
        {1, 20, 3, 0},  // bold in the text
        {1, 24, 3, 0},  // sub-heading, 12 points bold
    };
    const uint16_t faceCount = 1, faceSize = 32;
    std::vector<uint8_t> out;
    put16(out, faceCount);
    put16(out, FONT_COUNT);
    put16(out, 8);                          // faces follow this header
    put16(out, 8 + faceCount * faceSize);   // descriptors follow the faces
    char face[faceSize] = "Arial";
    out.insert(out.end(), face, face + faceSize);
    for (const Face &f : fonts) {
        out.push_back(f.attributes);
        out.push_back(f.halfPoints);
        out.push_back(f.family);
        put16(out, f.face);
        out.push_back(0); out.push_back(0); out.push_back(0);        // black text
        out.push_back(255); out.push_back(255); out.push_back(255);  // white ground
    }
    return out;
}

// The main window's definition: its name and its caption, the help's title
// (cut to what the field holds); the engine places and sizes it itself.
// Without it the engine shows a caption of its own.
std::vector<uint8_t> mainWindow(const std::string &title)
{
    std::vector<uint8_t> out;
    put16(out, WINDOW_HAS_TYPE | WINDOW_HAS_NAME | WINDOW_HAS_CAPTION);
    out.resize(WINDOW_RECORD_SIZE, 0);
    memcpy(&out[WINDOW_TYPE_AT], "primary", 7);
    memcpy(&out[WINDOW_NAME_AT], "main", 4);
    memcpy(&out[WINDOW_CAPTION_AT], title.c_str(), std::min(title.size(), (size_t)WINDOW_CAPTION_CHARS));
    return out;
}

std::vector<uint8_t> systemFile(const HelpSource &source, uint32_t contentsOffset)
{
    std::vector<uint8_t> out;
    put16(out, SYSTEM_MAGIC);
    put16(out, HELP_MINOR);
    put16(out, HELP_MAJOR);
    put32(out, 0);  // date of generation: left 0 so builds are repeatable
    put16(out, 0);  // flags: no compression, 4 KB topic blocks
    auto record = [&](uint16_t type, const std::vector<uint8_t> &data) {
        put16(out, type);
        put16(out, data.size());
        out.insert(out.end(), data.begin(), data.end());
    };
    auto text = [](const std::string &s) { return std::vector<uint8_t>(s.c_str(), s.c_str() + s.size() + 1); };
    record(1, text(source.title));
    if (!source.copyright.empty()) record(2, text(source.copyright));
    record(6, mainWindow(source.title));
    std::vector<uint8_t> contents;
    put32(contents, contentsOffset);
    record(3, contents);
    return out;
}

}  // namespace

bool buildHelpFile(const HelpSource &source, std::vector<uint8_t> &out, std::string &error)
{
    out.clear();
    if (source.topics.empty()) {
        error = "no topics";
        return false;
    }
    std::map<int32_t, std::string> hashes;
    for (const HelpTopic &t : source.topics) {
        int32_t h = helpContextHash(t.context.c_str());
        auto found = hashes.find(h);
        if (found != hashes.end()) {
            error = at(t.line, found->second == t.context ? "context " + t.context + " is used twice"
                                                            : "context " + t.context + " has the hash of " + found->second);
            return false;
        }
        if (h == 0) {
            error = at(t.line, "context " + t.context + " has the hash 0");
            return false;
        }
        hashes[h] = t.context;
    }
    // The help engine leads an index entry to one topic only.
    std::map<std::string, std::string> keywordTopic;
    for (const HelpTopic &t : source.topics)
        for (const std::string &k : t.keywords) {
            auto found = keywordTopic.find(keywordKey(k));
            if (found != keywordTopic.end()) {
                error = at(t.line, "keyword \"" + k + "\" is already given to " + found->second);
                return false;
            }
            keywordTopic[keywordKey(k)] = t.context;
        }
    for (const HelpTopic &t : source.topics)
        for (const HelpParagraph &p : t.paragraphs)
            for (const HelpSpan &s : p.spans)
                if (s.kind == SPAN_JUMP && !hashes.count(helpContextHash(s.target.c_str()))) {
                    error = at(p.line, "jump to unknown topic " + s.target);
                    return false;
                }

    // The links in order: each topic's header, its title, its paragraphs.
    std::vector<TopicLink> links;
    for (size_t i = 0; i < source.topics.size(); i++) {
        const HelpTopic &t = source.topics[i];
        TopicLink header;
        header.type = LINK_TOPIC_HEADER;
        header.topic = (int)i;
        header.data1.assign(TOPIC_HEADER_DATA, 0);
        header.data2.assign(t.title.c_str(), t.title.c_str() + t.title.size() + 1);
        links.push_back(header);
        links.push_back(titleLink(t, (int)i));
        for (size_t k = 0; k < t.paragraphs.size(); k++) {
            const HelpParagraph &p = t.paragraphs[k];
            bool nextIsItem = k + 1 < t.paragraphs.size() && t.paragraphs[k + 1].style == PARA_ITEM;
            bool blankAfter = !(p.style == PARA_ITEM && nextIsItem) && p.style != PARA_HEADING;
            links.push_back(displayLink(p, blankAfter, (int)i));
            if (links.back().size() > BLOCK_DATA) {
                error = at(p.line, "paragraph too long for a topic block");
                return false;
            }
        }
    }

    // Place the links: a link never crosses a block, and a topic's offset
    // is its block times 0x8000 plus the characters shown before it there.
    std::vector<uint32_t> topicOffset(source.topics.size()), topicPosition(source.topics.size());
    std::vector<uint32_t> topicBytes(source.topics.size(), 0);
    uint32_t block = 0, place = 0, chars = 0;
    for (TopicLink &l : links) {
        if (place + l.size() > BLOCK_DATA) {
            block++;
            place = 0;
            chars = 0;
        }
        l.block = block;
        l.place = place;
        place += l.size();
        topicBytes[l.topic] += l.size();
        if (l.type == LINK_TOPIC_HEADER) {
            topicOffset[l.topic] = block * 0x8000 + chars;
            topicPosition[l.topic] = l.position();
        } else {
            chars += displayedChars(l);
        }
    }
    uint32_t blocks = block + 1;

    std::vector<uint8_t> topic(blocks * BLOCK_SIZE, 0);
    size_t topicCount = source.topics.size();
    for (size_t i = 0; i < links.size(); i++) {
        TopicLink &l = links[i];
        if (l.type == LINK_TOPIC_HEADER) {
            size_t t = l.topic;
            std::vector<uint8_t> &d = l.data1;
            set32(d, 0, topicBytes[t]);
            set32(d, 4, t > 0 ? topicOffset[t - 1] : NONE);               // browse back
            set32(d, 8, t + 1 < topicCount ? topicOffset[t + 1] : NONE);  // browse forward
            set32(d, 12, t);
            set32(d, 16, NONE);                                           // no non-scrolling region
            set32(d, 20, links[i + 1].position());                        // the scrolling region
            set32(d, 24, t + 1 < topicCount ? topicPosition[t + 1] : NONE);
        }
        size_t o = l.block * BLOCK_SIZE + BLOCK_HEADER + l.place;
        set32(topic, o + 0, l.size());
        set32(topic, o + 4, l.data2.size());
        set32(topic, o + 8, i > 0 ? links[i - 1].position() : NONE);
        set32(topic, o + 12, i + 1 < links.size() ? links[i + 1].position() : NONE);
        set32(topic, o + 16, LINK_HEADER + l.data1.size());
        topic[o + 20] = l.type;
        std::copy(l.data1.begin(), l.data1.end(), topic.begin() + o + LINK_HEADER);
        std::copy(l.data2.begin(), l.data2.end(), topic.begin() + o + LINK_HEADER + l.data1.size());
    }
    // Block headers: the last link of the blocks before, the first link of
    // this one, the last topic header before it.
    uint32_t lastLink = NONE, lastHeader = NONE;
    size_t next = 0;
    for (uint32_t b = 0; b < blocks; b++) {
        uint32_t first = NONE;
        if (next < links.size() && links[next].block == b) first = links[next].position();
        set32(topic, b * BLOCK_SIZE + 0, lastLink);
        set32(topic, b * BLOCK_SIZE + 4, first);
        set32(topic, b * BLOCK_SIZE + 8, lastHeader);
        for (; next < links.size() && links[next].block == b; next++) {
            lastLink = links[next].position();
            if (links[next].type == LINK_TOPIC_HEADER) lastHeader = lastLink;
        }
    }

    // |CONTEXT: hash to topic offset, by hash as a signed number.
    std::vector<std::pair<int32_t, uint32_t> > contexts;
    for (size_t t = 0; t < topicCount; t++)
        contexts.push_back({helpContextHash(source.topics[t].context.c_str()), topicOffset[t]});
    std::sort(contexts.begin(), contexts.end());
    if (contexts.size() * 8 > CONTEXT_PAGE - LEAF_HEADER) {
        error = "too many topics for one context page";
        return false;
    }
    std::vector<uint8_t> contextEntries;
    for (auto &c : contexts) {
        put32(contextEntries, (uint32_t)c.first);
        put32(contextEntries, c.second);
    }

    // |KWBTREE and |KWDATA: each keyword leads to one topic offset.
    std::vector<std::pair<std::string, uint32_t> > keywords;
    for (size_t t = 0; t < topicCount; t++)
        for (const std::string &k : source.topics[t].keywords) keywords.push_back({k, topicOffset[t]});
    std::sort(keywords.begin(), keywords.end(),
              [](const std::pair<std::string, uint32_t> &a, const std::pair<std::string, uint32_t> &b) {
                  return keywordBefore(a.first, b.first);
              });
    std::vector<uint8_t> keywordEntries, keywordData;
    for (size_t i = 0; i < keywords.size(); i++) {
        keywordEntries.insert(keywordEntries.end(), keywords[i].first.begin(), keywords[i].first.end());
        keywordEntries.push_back(0);
        put16(keywordEntries, 1);      // topics of this keyword
        put32(keywordEntries, i * 4);  // where their offsets start in |KWDATA
        put32(keywordData, keywords[i].second);
    }
    if (keywordEntries.size() > KEYWORD_PAGE - LEAF_HEADER) {
        error = "too many keywords for one index page";
        return false;
    }

    std::vector<std::pair<std::string, std::vector<uint8_t> > > files = {
        {"|CONTEXT", oneLeafTree("L4", 0x0002, CONTEXT_PAGE, contextEntries, contexts.size())},
        {"|FONT", fontFile()},
        {"|SYSTEM", systemFile(source, topicOffset[0])},
        {"|TOPIC", topic},
    };
    if (!keywords.empty()) {
        files.push_back({"|KWBTREE", oneLeafTree("z24", 0x0002, KEYWORD_PAGE, keywordEntries, keywords.size())});
        files.push_back({"|KWDATA", keywordData});
    }
    std::sort(files.begin(), files.end());  // the directory is searched in byte order

    out.assign(16, 0);
    std::vector<uint8_t> directory;
    for (auto &f : files) {
        directory.insert(directory.end(), f.first.begin(), f.first.end());
        directory.push_back(0);
        put32(directory, out.size());
        putInternalFile(out, f.second);
    }
    uint32_t directoryStart = out.size();
    putInternalFile(out, oneLeafTree("z4", 0x0402, DIRECTORY_PAGE, directory, files.size()));
    set32(out, 0, FILE_MAGIC);
    set32(out, 4, directoryStart);
    set32(out, 8, NONE);  // no free blocks
    set32(out, 12, out.size());
    return true;
}

// ---------------------------------------------------------------- text

namespace {

const char CRLF[] = "\r\n";
// Stands for a blank that does not end a line (those of a bold phrase, such
// as a command to type) until the line is written.
const char KEPT_BLANK = '\x1F';

// One line of the text and its underline.
void underlined(std::string &out, const std::string &title, char rule)
{
    out += title + CRLF + std::string(title.size(), rule) + CRLF + CRLF;
}

// The text wrapped at the last blank that keeps a line within the columns
// (a word longer than that stands on a line of its own); blanks inside a
// line are kept as written. Every line starts with the first or the
// following indent.
void wrapped(std::string &out, const std::string &text, const std::string &first, const std::string &following)
{
    const std::string *indent = &first;
    size_t start = text.find_first_not_of(' ');
    while (start != std::string::npos) {
        size_t room = HELP_TEXT_COLUMNS - indent->size();
        size_t end = text.size();
        if (end - start > room) {
            end = text.rfind(' ', start + room);
            if (end == std::string::npos || end <= start) end = text.find(' ', start + room);
            if (end == std::string::npos) end = text.size();
        }
        size_t last = text.find_last_not_of(' ', end - 1);
        std::string line = text.substr(start, last + 1 - start);
        std::replace(line.begin(), line.end(), KEPT_BLANK, ' ');
        out += *indent + line + CRLF;
        start = text.find_first_not_of(' ', end);
        indent = &following;
    }
}

}  // namespace

std::string renderHelpText(const HelpSource &source)
{
    std::string out;
    underlined(out, source.title, '=');
    for (const HelpTopic &topic : source.topics) {
        out += CRLF;
        underlined(out, topic.title, '-');
        for (size_t k = 0; k < topic.paragraphs.size(); k++) {
            const HelpParagraph &p = topic.paragraphs[k];
            std::string text;
            for (const HelpSpan &span : p.spans) {
                std::string shown = span.text;
                if (span.kind == SPAN_BOLD) std::replace(shown.begin(), shown.end(), ' ', KEPT_BLANK);
                text += shown;
            }
            bool nextIsItem = k + 1 < topic.paragraphs.size() && topic.paragraphs[k + 1].style == PARA_ITEM;
            if (p.style == PARA_HEADING) {
                std::replace(text.begin(), text.end(), KEPT_BLANK, ' ');
                underlined(out, text, '~');
            } else if (p.style == PARA_ITEM) {
                wrapped(out, text, "  - ", "    ");
                if (!nextIsItem) out += CRLF;
            } else {
                wrapped(out, text, "", "");
                out += CRLF;
            }
        }
    }
    return out;
}

// ---------------------------------------------------------------- reader

namespace {

struct Reader {
    const std::vector<uint8_t> &bytes;
    std::string &error;
    bool fail(const std::string &what) { error = what; return false; }

    // The content of the internal file whose header is at offset.
    bool internalFile(uint32_t offset, const uint8_t *&begin, const uint8_t *&end)
    {
        if ((uint64_t)offset + 9 > bytes.size()) return fail("internal file header past the end");
        uint32_t reserved = get32(&bytes[offset]), used = get32(&bytes[offset + 4]);
        if ((uint64_t)offset + reserved > bytes.size()) return fail("internal file past the end");
        if (reserved < (uint64_t)used + 9) return fail("internal file larger than its space");
        begin = &bytes[offset + 9];
        end = begin + used;
        return true;
    }

    // Every leaf entry of a B+ tree, keys checked to rise: string keys
    // with a payload of `data` bytes (the number of the last four is kept),
    // in byte order or, for the keyword index, by their upper-case forms;
    // or number keys with a four-byte payload.
    bool tree(uint32_t offset, bool stringKeys, std::vector<std::pair<std::string, uint32_t> > &names,
              std::vector<std::pair<int32_t, uint32_t> > &numbers, int data = 4, bool keywordOrder = false)
    {
        const uint8_t *b, *e;
        if (!internalFile(offset, b, e)) return false;
        if (e - b < 38 || get16(b) != BTREE_MAGIC) return fail("bad B+ tree header");
        uint16_t pageSize = get16(b + 4);
        uint16_t root = get16(b + 26), pages = get16(b + 30), levels = get16(b + 32);
        uint32_t total = get32(b + 34);
        if (pageSize < 16 || levels < 1 || b + 38 + (uint64_t)pages * pageSize > e) return fail("bad B+ tree size");
        auto page = [&](uint16_t n) { return b + 38 + (size_t)n * pageSize; };
        uint16_t leaf = root;
        for (int level = 1; level < levels; level++) {  // the leftmost leaf
            if (leaf >= pages) return fail("B+ tree page out of range");
            leaf = get16(page(leaf) + 4);
        }
        uint32_t seen = 0;
        while (leaf != 0xFFFF) {
            if (leaf >= pages) return fail("B+ tree page out of range");
            const uint8_t *p = page(leaf), *pend = p + pageSize;
            int16_t count = (int16_t)get16(p + 2);
            p += LEAF_HEADER;
            for (int i = 0; i < count; i++) {
                if (stringKeys) {
                    const uint8_t *z = (const uint8_t *)memchr(p, 0, pend - p);
                    if (!z || pend - z < 1 + data) return fail("tree entry past its page");
                    std::string name((const char *)p, z - p);
                    if (!names.empty() && !(keywordOrder ? keywordBefore(names.back().first, name) : names.back().first < name))
                        return fail("tree out of order at " + name);
                    names.push_back({name, get32(z + 1 + data - 4)});
                    if (data == 6 && get16(z + 1) != 1) return fail("keyword with other than one topic: " + name);
                    p = z + 1 + data;
                } else {
                    if (pend - p < 8) return fail("context entry past its page");
                    int32_t h = (int32_t)get32(p);
                    if (!numbers.empty() && numbers.back().first >= h) return fail("contexts out of order");
                    numbers.push_back({h, get32(p + 4)});
                    p += 8;
                }
                seen++;
            }
            leaf = get16(page(leaf) + 6);
        }
        if (seen != total) return fail("B+ tree entry count differs from its header");
        return true;
    }
};

}  // namespace

bool readHelpFile(const std::vector<uint8_t> &bytes, HelpFileContents &out, std::string &error)
{
    out = HelpFileContents();
    Reader r{bytes, error};
    if (bytes.size() < 16 || get32(&bytes[0]) != FILE_MAGIC) return r.fail("not a help file");
    if (get32(&bytes[12]) != bytes.size()) return r.fail("file size differs from the header");

    std::vector<std::pair<std::string, uint32_t> > directory;
    std::vector<std::pair<int32_t, uint32_t> > unused;
    if (!r.tree(get32(&bytes[4]), true, directory, unused)) return false;
    std::map<std::string, uint32_t> files;
    for (auto &d : directory) {
        out.internalFiles.push_back(d.first);
        files[d.first] = d.second;
    }
    for (const char *name : {"|SYSTEM", "|TOPIC", "|FONT", "|CONTEXT"})
        if (!files.count(name)) return r.fail(std::string("no internal file ") + name);

    // |SYSTEM
    const uint8_t *b, *e;
    if (!r.internalFile(files["|SYSTEM"], b, e)) return false;
    if (e - b < 12) return r.fail("|SYSTEM too short");
    if (get16(b) != SYSTEM_MAGIC) return r.fail("bad |SYSTEM magic");
    out.minor = get16(b + 2);
    out.major = get16(b + 4);
    out.flags = get16(b + 10);
    if (out.minor != HELP_MINOR || out.major != HELP_MAJOR || out.flags != 0)
        return r.fail("not an uncompressed Windows 3.1 help file");
    out.contentsOffset = NONE;
    for (const uint8_t *p = b + 12; p < e;) {
        if (e - p < 4) return r.fail("|SYSTEM record cut");
        uint16_t type = get16(p), size = get16(p + 2);
        const uint8_t *data = p + 4;
        if (e - data < size) return r.fail("|SYSTEM record past the end");
        if (type == 1 || type == 2) {
            if (size == 0 || data[size - 1] != 0) return r.fail("|SYSTEM text not ended");
            (type == 1 ? out.title : out.copyright) = (const char *)data;
        } else if (type == 6) {
            if (size != WINDOW_RECORD_SIZE || data[WINDOW_CAPTION_AT + WINDOW_CAPTION_CHARS] != 0)
                return r.fail("|SYSTEM window record size");
            if (strcmp((const char *)data + WINDOW_NAME_AT, "main") == 0 && (get16(data) & WINDOW_HAS_CAPTION))
                out.mainCaption = (const char *)data + WINDOW_CAPTION_AT;
        } else if (type == 3) {
            if (size != 4) return r.fail("|SYSTEM contents record size");
            out.contentsOffset = get32(data);
        }
        p = data + size;
    }

    // |FONT
    if (!r.internalFile(files["|FONT"], b, e)) return false;
    if (e - b < 8) return r.fail("|FONT too short");
    uint16_t faces = get16(b), descriptors = get16(b + 2), faceAt = get16(b + 4), descriptorAt = get16(b + 6);
    if (faces == 0 || descriptors == 0 || faceAt >= descriptorAt || b + descriptorAt + descriptors * 11 > e)
        return r.fail("bad |FONT table");
    for (int i = 0; i < descriptors; i++)
        if (get16(b + descriptorAt + i * 11 + 3) >= faces) return r.fail("font names a missing face");
    out.fontCount = descriptors;

    // |TOPIC, its blocks joined without their headers, walked link by link.
    if (!r.internalFile(files["|TOPIC"], b, e)) return false;
    size_t blocks = (e - b + BLOCK_SIZE - 1) / BLOCK_SIZE;
    std::vector<uint8_t> data(blocks * BLOCK_DATA, 0);
    for (size_t i = 0; i < blocks; i++) {
        size_t from = i * BLOCK_SIZE + BLOCK_HEADER;
        size_t n = std::min<size_t>(BLOCK_DATA, from < (size_t)(e - b) ? (e - b) - from : 0);
        std::copy(b + from, b + from + n, data.begin() + i * BLOCK_DATA);
    }
    uint32_t ref = BLOCK_HEADER, oldBlock = NONE, chars = 0;
    size_t guard = 0;
    while (ref != NONE) {
        if (++guard > 1000000) return r.fail("topic links form a loop");
        if (ref < BLOCK_HEADER) return r.fail("bad topic link position");
        uint32_t block = (ref - BLOCK_HEADER) >> 14, place = (ref - BLOCK_HEADER) & 0x3FFF;
        uint64_t at = (uint64_t)block * BLOCK_DATA + place;
        if (block >= blocks || place >= BLOCK_DATA || at + LINK_HEADER > data.size())
            return r.fail("topic link position out of range");
        const uint8_t *l = &data[at];
        uint32_t size = get32(l), len2 = get32(l + 4), next = get32(l + 12), len1 = get32(l + 16);
        if (len1 < LINK_HEADER || len1 > size || at + size > data.size()) return r.fail("bad topic link sizes");
        if (len2 != size - len1) return r.fail("topic link text size differs (compressed?)");
        if (next != NONE && next <= ref) return r.fail("topic links go backwards");
        if (block != oldBlock) {
            chars = 0;
            oldBlock = block;
        }
        const uint8_t *d1 = l + LINK_HEADER, *d1end = l + len1, *d2 = d1end, *d2end = l + size;
        if (l[20] == LINK_TOPIC_HEADER) {
            if (len1 - LINK_HEADER < TOPIC_HEADER_DATA) return r.fail("topic header too short");
            HelpFileTopic t;
            t.offset = block * 0x8000 + chars;
            t.title.assign((const char *)d2, strnlen((const char *)d2, d2end - d2));
            t.browsePrevious = get32(d1 + 4);
            t.browseNext = get32(d1 + 8);
            out.topics.push_back(t);
        } else if (l[20] == LINK_DISPLAY) {
            if (out.topics.empty()) return r.fail("text before the first topic");
            HelpFileTopic &t = out.topics.back();
            const uint8_t *f = d1;
            int32_t textSize;
            uint16_t length, bits;
            if (!getPackedSigned32(f, d1end, textSize) || !getPackedUnsigned16(f, d1end, length) || d1end - f < 6)
                return r.fail("paragraph header cut");
            f += 4;
            bits = get16(f);
            f += 2;
            if (bits & 0x0001) {
                int32_t skip;
                if (!getPackedSigned32(f, d1end, skip)) return r.fail("paragraph settings cut");
            }
            for (uint16_t bit = 0x0002; bit <= 0x0040; bit <<= 1)
                if ((bits & bit) && !getPackedSigned16(f, d1end)) return r.fail("paragraph settings cut");
            if (bits & 0x0300) return r.fail("borders and tab stops are not written here");
            uint32_t counted = 0;
            const char *s = (const char *)d2, *send = (const char *)d2end;
            bool ended = false, inJump = false;
            while (s < send && f < d1end && !ended) {
                size_t n = strnlen(s, send - s);
                t.text.append(s, n);
                counted += n;
                s += n + 1;
                switch (*f) {
                case CMD_END: ended = true; f++; break;
                case CMD_FONT:
                    if (d1end - f < 3 || get16(f + 1) >= out.fontCount) return r.fail("font change to a missing font");
                    f += 3;
                    break;
                case CMD_LINE: case CMD_PARAGRAPH: t.text += '\n'; counted++; f++; break;
                case CMD_TAB: t.text += '\t'; counted++; f++; break;
                case CMD_NBSP: case CMD_NBHYPHEN: f++; break;
                case CMD_HOTSPOT_END:
                    if (!inJump) return r.fail("hotspot end without a hotspot");
                    inJump = false;
                    f++;
                    break;
                case CMD_JUMP:
                    if (d1end - f < 5) return r.fail("jump cut");
                    t.jumps.push_back((int32_t)get32(f + 1));
                    inJump = true;
                    f += 5;
                    break;
                default: {
                    char what[48];
                    snprintf(what, sizeof what, "unknown formatting command 0x%02x", *f);
                    return r.fail(what);
                }
                }
            }
            if (!ended) return r.fail("paragraph without its end command in " + t.title);
            if (inJump) return r.fail("hotspot not ended in " + t.title);
            if (counted != length) return r.fail("paragraph length differs from its text in " + t.title);
            chars += length;
        } else {
            return r.fail("unknown topic link type");
        }
        ref = next;
    }
    if (out.topics.empty()) return r.fail("no topics");

    // |CONTEXT
    std::vector<std::pair<std::string, uint32_t> > none;
    if (!r.tree(files["|CONTEXT"], false, none, out.contexts)) return false;
    std::set<uint32_t> offsets;
    for (auto &t : out.topics) offsets.insert(t.offset);
    for (auto &c : out.contexts)
        if (!offsets.count(c.second)) return r.fail("a context names no topic");
    if (!offsets.count(out.contentsOffset)) return r.fail("the contents record names no topic");

    // |KWBTREE and |KWDATA
    if (files.count("|KWBTREE") != files.count("|KWDATA")) return r.fail("half a keyword index");
    if (files.count("|KWBTREE")) {
        std::vector<std::pair<std::string, uint32_t> > entries;
        std::vector<std::pair<int32_t, uint32_t> > unusedNumbers;
        if (!r.tree(files["|KWBTREE"], true, entries, unusedNumbers, 6, true)) return false;
        if (!r.internalFile(files["|KWDATA"], b, e)) return false;
        for (auto &k : entries) {
            if (k.second % 4 != 0 || k.second + 4 > (uint64_t)(e - b)) return r.fail("keyword data out of range: " + k.first);
            uint32_t topic = get32(b + k.second);
            if (!offsets.count(topic)) return r.fail("keyword names no topic: " + k.first);
            out.keywords.push_back({k.first, topic});
        }
    }
    return true;
}
