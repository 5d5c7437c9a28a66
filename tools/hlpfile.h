// Windows Help 3.1 files: the help source the project writes its help in,
// the writer that turns it into an uncompressed .hlp file, and a reader
// that walks such a file the way the help engine does.
//
// Help source, one directive or text line a line:
//   # comment
//   @title TEXT              the help file's title
//   @copyright TEXT          its copyright line
//   @topic CONTEXT TITLE     starts a topic; the first topic is the contents
//   @keywords A; B; ...      index entries that lead to the current topic
//   = TEXT                   a sub-heading (its line alone)
//   - TEXT                   a list item (a paragraph of its own, going on
//                            over the lines after it up to a blank line)
//   other lines              text, joined into a paragraph until a blank line
// Inside text, **bold** and [[shown text|CONTEXT]] (a jump to a topic).
#ifndef QUILLON_TOOLS_HLPFILE_H
#define QUILLON_TOOLS_HLPFILE_H

#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

enum HelpSpanKind { SPAN_TEXT, SPAN_BOLD, SPAN_JUMP };
enum HelpParagraphStyle { PARA_TEXT, PARA_HEADING, PARA_ITEM };

struct HelpSpan {
    HelpSpanKind kind;
    std::string text;
    std::string target;  // context name of a jump
};

struct HelpParagraph {
    HelpParagraphStyle style;
    std::vector<HelpSpan> spans;
    int line;
};

struct HelpTopic {
    std::string context;
    std::string title;
    std::vector<std::string> keywords;
    std::vector<HelpParagraph> paragraphs;
    int line;
};

struct HelpSource {
    std::string title;
    std::string copyright;
    std::vector<HelpTopic> topics;
};

// The engine's hash of a context name (letters without regard to case,
// digits, '.' and '_'; other characters do not count).
int32_t helpContextHash(const char *name);

// The packed numbers of the topic records.
void putPackedUnsigned16(std::vector<uint8_t> &out, uint16_t value);
void putPackedSigned32(std::vector<uint8_t> &out, int32_t value);
bool getPackedUnsigned16(const uint8_t *&p, const uint8_t *end, uint16_t &value);
bool getPackedSigned32(const uint8_t *&p, const uint8_t *end, int32_t &value);

// Each returns false with a message ("line N: ...") on an error.
bool parseHelpSource(const std::string &text, HelpSource &out, std::string &error);
bool buildHelpFile(const HelpSource &source, std::vector<uint8_t> &out, std::string &error);

struct HelpFileTopic {
    std::string title;
    uint32_t offset;               // topic offset, as the context table and the contents record hold it
    std::string text;              // the displayed text, paragraphs ended by '\n'
    std::vector<int32_t> jumps;    // context hashes of its jumps
    uint32_t browsePrevious;
    uint32_t browseNext;
};

struct HelpFileContents {
    uint16_t minor, major, flags;
    std::string title;
    std::string copyright;
    std::string mainCaption;       // the main window's caption, where the file defines it
    uint32_t contentsOffset;
    int fontCount;
    std::vector<std::string> internalFiles;
    std::vector<HelpFileTopic> topics;
    std::vector<std::pair<int32_t, uint32_t> > contexts;  // hash, topic offset
    std::vector<std::pair<std::string, uint32_t> > keywords;  // index entry, topic offset
};

// The help as plain text, for the systems without a help viewer (Windows
// Vista and later show it in Notepad): the help's title, then each topic's
// title underlined, its paragraphs wrapped at HELP_TEXT_COLUMNS with a
// blank line after each, list items behind a dash with their lines
// indented, sub-headings underlined with '~'. A jump shows its text,
// bold is plain. Lines end with CR LF.
enum { HELP_TEXT_COLUMNS = 72 };
std::string renderHelpText(const HelpSource &source);

// Reads a file made by buildHelpFile (uncompressed, version 21) and checks
// what the help engine relies on: sizes, the order of the trees, every
// topic link, every font, every context and every index entry.
bool readHelpFile(const std::vector<uint8_t> &bytes, HelpFileContents &out, std::string &error);

#endif
