// Writes a large data file for the load benchmark: many banks of models and
// equal-length bitmaps with different bytes, every tenth bank repeating a
// bitmap of an earlier one, filled out with other bytes to a target size.
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "tools/bfpbuilder.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make-bench-bfp OUT.bfp SIZE_MIB BANKS\n";
        return 2;
    }
    const size_t target = std::strtoull(argv[2], nullptr, 10) << 20;
    const size_t banks = std::strtoull(argv[3], nullptr, 10);
    using namespace bfp;

    std::ofstream out(argv[1], std::ios::binary);
    size_t written = 0;
    std::vector<uint8_t> remembered = MakeBmp(64, 128, 8, 0);
    for (size_t b = 0; b < banks; ++b) {
        Bank bank{{Cube("box" + std::to_string(b), 100, 3), Pyramid("pyr", 50, 80, 3)}, {}};
        for (uint32_t i = 0; i < 3; ++i) bank.bitmaps.push_back({"tex", MakeBmp(64, 128, 8, uint32_t(b * 3 + i + 1))});
        if (b % 10 == 9) bank.bitmaps.push_back({"again", remembered});
        ImageWriter image;
        image.AddBank(bank);
        const size_t share = written < target ? (target - written) / (banks - b) : 0;
        image.Filler(share > image.size() + 1 ? share - image.size() : 1, uint32_t(b));
        out.write(reinterpret_cast<const char*>(image.bytes().data()), std::streamsize(image.size()));
        written += image.size();
    }
    return out.good() ? 0 : 1;
}
