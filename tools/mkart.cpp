// Draws the editor's pictures and writes them as Windows files:
//   bitview.bmp  64 x 20, 16 colours: raised button, grey lamp, "VIEW"
//   bitedit.bmp  64 x 20, 16 colours: raised button, red lamp,  "EDIT"
//   quillon.ico  32 x 32, 16 colours: a page of hexadecimal digits
// Usage: mkart OUTPUT_DIR
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The standard 16-colour palette, in the order Windows uses it.
const unsigned char palette[16][3] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
    {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
enum { BLACK = 0, DARKRED = 1, LIGHTGREY = 7, GREY = 8, RED = 9, BLUE = 12, WHITE = 15 };

struct Picture {
    int width, height;
    std::vector<unsigned char> pixels;  // colour index per pixel, top row first
    Picture(int w, int h, unsigned char fill) : width(w), height(h), pixels(w * h, fill) {}
    void set(int x, int y, unsigned char c) {
        if (x >= 0 && y >= 0 && x < width && y < height) pixels[y * width + x] = c;
    }
    unsigned char at(int x, int y) const { return pixels[y * width + x]; }
};

// 5 x 7 glyphs, one string per row, '#' = ink.
struct Glyph { char ch; const char *rows[7]; };
const Glyph glyphs[] = {
    {'V', {"#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."}},
    {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
};

int drawText(Picture &p, int x, int y, const char *text, unsigned char colour) {
    for (; *text; ++text) {
        for (const Glyph &g : glyphs) {
            if (g.ch != *text) continue;
            int w = (int)std::strlen(g.rows[0]);
            for (int r = 0; r < 7; ++r)
                for (int c = 0; c < w; ++c)
                    if (g.rows[r][c] == '#') p.set(x + c, y + r, colour);
            x += w + 1;
        }
    }
    return x;
}

void drawLamp(Picture &p, int cx, int cy, unsigned char face, unsigned char rim) {
    for (int y = -5; y <= 5; ++y)
        for (int x = -5; x <= 5; ++x) {
            int d = x * x + y * y;
            if (d <= 16) p.set(cx + x, cy + y, face);
            else if (d <= 26) p.set(cx + x, cy + y, rim);
        }
    p.set(cx - 2, cy - 2, WHITE);  // a glint
}

Picture modeButton(bool edit) {
    Picture p(64, 20, LIGHTGREY);
    for (int x = 0; x < 64; ++x) { p.set(x, 0, WHITE); p.set(x, 19, BLACK); }
    for (int y = 0; y < 20; ++y) { p.set(0, y, WHITE); p.set(63, y, BLACK); }
    for (int x = 1; x < 63; ++x) p.set(x, 18, GREY);
    for (int y = 1; y < 19; ++y) p.set(62, y, GREY);
    drawLamp(p, 11, 9, edit ? RED : GREY, edit ? DARKRED : BLACK);
    drawText(p, 22, 6, edit ? "EDIT" : "VIEW", BLACK);
    return p;
}

Picture iconPicture() {
    Picture p(32, 32, 255);  // 255 = transparent
    for (int y = 1; y < 31; ++y)
        for (int x = 4; x < 28; ++x) p.set(x, y, WHITE);
    for (int x = 4; x < 28; ++x) { p.set(x, 1, BLACK); p.set(x, 30, BLACK); }
    for (int y = 1; y < 31; ++y) { p.set(4, y, BLACK); p.set(27, y, BLACK); }
    drawText(p, 10, 4, "0A", BLUE);
    drawText(p, 10, 13, "1E", RED);
    drawText(p, 10, 22, "7F", BLUE);
    for (int y = 7; y < 29; y += 9)
        for (int x = 7; x < 9; ++x) p.set(x, y, GREY);
    return p;
}

void put16(std::string &s, unsigned v) { s += char(v & 255); s += char(v >> 8 & 255); }
void put32(std::string &s, unsigned v) { put16(s, v & 0xFFFF); put16(s, v >> 16); }

// BITMAPINFOHEADER, palette and 4-bit rows bottom-up; then, for icons, the
// 1-bit AND mask.
std::string dib(const Picture &p, bool withMask) {
    std::string s;
    int rowBytes = ((p.width * 4 + 31) / 32) * 4;
    int maskBytes = ((p.width + 31) / 32) * 4;
    put32(s, 40); put32(s, p.width); put32(s, withMask ? p.height * 2 : p.height);
    put16(s, 1); put16(s, 4); put32(s, 0);
    put32(s, rowBytes * p.height + (withMask ? maskBytes * p.height : 0));
    put32(s, 0); put32(s, 0); put32(s, 16); put32(s, 0);
    for (auto &c : palette) { s += char(c[2]); s += char(c[1]); s += char(c[0]); s += char(0); }
    for (int y = p.height - 1; y >= 0; --y) {
        std::string row(rowBytes, '\0');
        for (int x = 0; x < p.width; ++x) {
            unsigned char c = p.at(x, y) == 255 ? 0 : p.at(x, y);
            row[x / 2] = char(row[x / 2] | (x % 2 ? c : c << 4));
        }
        s += row;
    }
    if (withMask)
        for (int y = p.height - 1; y >= 0; --y) {
            std::string row(maskBytes, '\0');
            for (int x = 0; x < p.width; ++x)
                if (p.at(x, y) == 255) row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
            s += row;
        }
    return s;
}

bool writeFile(const std::string &path, const std::string &data) {
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}

std::string bmpFile(const Picture &p) {
    std::string body = dib(p, false), s = "BM";
    put32(s, 14 + (unsigned)body.size()); put32(s, 0); put32(s, 14 + 40 + 64);
    return s + body;
}

std::string icoFile(const Picture &p) {
    std::string body = dib(p, true), s;
    put16(s, 0); put16(s, 1); put16(s, 1);
    s += char(p.width); s += char(p.height); s += char(16); s += char(0);
    put16(s, 1); put16(s, 4); put32(s, (unsigned)body.size()); put32(s, 22);
    return s + body;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) { std::fprintf(stderr, "usage: mkart OUTPUT_DIR\n"); return 2; }
    std::string dir = argv[1];
    bool ok = writeFile(dir + "/bitview.bmp", bmpFile(modeButton(false))) &&
              writeFile(dir + "/bitedit.bmp", bmpFile(modeButton(true))) &&
              writeFile(dir + "/quillon.ico", icoFile(iconPicture()));
    if (!ok) { std::perror("mkart"); return 1; }
    return 0;
}
