// Help compiler: turns the help source into a Windows Help 3.1 file and,
// given the user's guide, into the shipped text file: the guide followed by
// the help rendered as text, for the systems without a help viewer.
// Usage: hlpc SOURCE.hlpsrc OUTPUT.hlp [GUIDE.txt OUTPUT.txt]
// The help file is read back before it is written, so a file the reader
// rejects is never left behind.
#include <stdio.h>

#include <string>
#include <vector>

#include "tools/hlpfile.h"

namespace {

bool readText(const char *path, std::string &text)
{
    FILE *in = fopen(path, "rb");
    if (!in) {
        perror(path);
        return false;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, in)) > 0) text.append(buf, n);
    fclose(in);
    return true;
}

bool writeBytes(const char *path, const void *bytes, size_t size)
{
    FILE *out = fopen(path, "wb");
    if (!out || fwrite(bytes, 1, size, out) != size || fclose(out) != 0) {
        perror(path);
        remove(path);
        return false;
    }
    return true;
}

// Notepad before Windows 10 breaks lines only at CR LF.
std::string withCrLf(const std::string &text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3 && argc != 5) {
        fprintf(stderr, "usage: hlpc SOURCE OUTPUT.hlp [GUIDE.txt OUTPUT.txt]\n");
        return 2;
    }
    std::string text, guide;
    if (!readText(argv[1], text) || (argc == 5 && !readText(argv[3], guide))) return 1;

    HelpSource source;
    std::vector<uint8_t> file;
    HelpFileContents check;
    std::string error;
    if (!parseHelpSource(text, source, error) || !buildHelpFile(source, file, error)) {
        fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    if (!readHelpFile(file, check, error)) {
        fprintf(stderr, "%s: the written file does not read back: %s\n", argv[1], error.c_str());
        return 1;
    }
    if (!writeBytes(argv[2], file.data(), file.size())) return 1;
    if (argc == 5) {
        std::string shipped = withCrLf(guide) + "\r\n\r\n" + renderHelpText(source);
        if (!writeBytes(argv[4], shipped.data(), shipped.size())) return 1;
    }
    return 0;
}
