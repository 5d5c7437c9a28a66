// Help compiler: turns the help source into a Windows Help 3.1 file.
// Usage: hlpc SOURCE.hlpsrc OUTPUT.hlp
// The file is read back before it is written, so a file the reader
// rejects is never left behind.
#include <stdio.h>

#include <string>
#include <vector>

#include "tools/hlpfile.h"

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: hlpc SOURCE OUTPUT\n");
        return 2;
    }
    FILE *in = fopen(argv[1], "rb");
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, in)) > 0) text.append(buf, n);
    fclose(in);

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
    FILE *out = fopen(argv[2], "wb");
    if (!out || fwrite(file.data(), 1, file.size(), out) != file.size() || fclose(out) != 0) {
        perror(argv[2]);
        remove(argv[2]);
        return 1;
    }
    return 0;
}
