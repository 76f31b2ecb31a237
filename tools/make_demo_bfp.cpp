// Writes the bundled sample data file: three model banks among unrelated
// bytes, with a textured cube and pyramid, palette and true-colour bitmaps,
// and one bitmap that a later bank repeats.
#include <fstream>
#include <iostream>

#include "tools/bfpbuilder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-demo-bfp OUT.bfp\n";
        return 2;
    }
    using namespace bfp;
    const auto crate = MakeBmp(32, 32, 8, 1);
    const auto stone = MakeBmp(16, 16, 24, 2);
    const auto sky = MakeBmp(64, 16, 8, 3);

    ImageWriter image;
    image.Filler(300, 11);
    image.AddBank(
        Bank{{Cube("crate", 100, 2), Pyramid("pyramid", 150, 250, 2)}, {{"crate.bmp", crate}, {"stone.bmp", stone}}});
    image.Filler(200, 12);
    image.AddBank(Bank{{Cube("bigbox", 400, 1)}, {{"sky.bmp", sky}}});
    image.Filler(150, 13);
    // The same crate picture under another name shows as a copy.
    image.AddBank(Bank{{Pyramid("tomb", 300, 500, 2)}, {{"wall.bmp", stone}, {"crate2.bmp", crate}}});
    image.Filler(250, 14);

    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(image.bytes().data()), std::streamsize(image.size()));
    return out.good() ? 0 : 1;
}
