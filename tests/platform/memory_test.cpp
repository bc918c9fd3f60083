// Giving back the pages of the fonts: which mappings are unmapped, and that
// what they hold reads the same afterwards.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/posix/memory.h"

namespace lumiko::posix {
namespace {

namespace fs = std::filesystem;

TEST(FontFiles, AreKnownByTheirExtension) {
    struct Case {
        const char* path;
        bool font;
    };
    const Case cases[] = {
        {"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", true},
        {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", true},
        {"/home/u/.fonts/Face.OTF", true},
        {"/x/y.otc", true},
        {"/x/y.pfb", false},
        {"/x/y.ttf.bak", false},
        {"/x/ttf", false},
        {"/x.ttf/y", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(isFontFile(c.path), c.font) << c.path;
}

// Resident kB of the mapping that starts at `at`, from /proc/self/smaps.
long residentKb(const void* at) {
    std::ifstream smaps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        const size_t dash = line.find('-');
        if (dash != std::string::npos && dash < line.find(' ') && line.find(':') > dash + 1 &&
            line.find("kB") == std::string::npos)
            inside = std::strtoul(line.c_str(), nullptr, 16) == reinterpret_cast<unsigned long>(at);
        else if (inside && line.rfind("Rss:", 0) == 0)
            return std::atol(line.c_str() + 4);
    }
    return -1;
}

class FontPagesTest : public ::testing::Test {
protected:
    static constexpr size_t kSize = 256 * 1024;
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "lumiko-fonts-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override {
        for (auto& [p, n] : maps_) munmap(p, n);
        fs::remove_all(dir_);
    }
    // A file of kSize bytes, each byte its offset's low byte, mapped with
    // `prot` and every page read.
    unsigned char* mapped(const char* name, int prot) {
        const fs::path path = dir_ / name;
        std::string bytes(kSize, '\0');
        for (size_t i = 0; i < kSize; ++i) bytes[i] = static_cast<char>(i & 0xFF);
        std::ofstream(path, std::ios::binary) << bytes;
        const int fd = open(path.c_str(), O_RDONLY);
        void* p = mmap(nullptr, kSize, prot, MAP_PRIVATE, fd, 0);
        close(fd);
        if (p == MAP_FAILED) return nullptr;
        maps_.emplace_back(p, kSize);
        auto* c = static_cast<unsigned char*>(p);
        for (size_t i = 0; i < kSize; i += 4096) static_cast<volatile unsigned char*>(c)[i];
        return c;
    }
    static bool intact(const unsigned char* c) {
        for (size_t i = 0; i < kSize; ++i)
            if (c[i] != (i & 0xFF)) return false;
        return true;
    }
    fs::path dir_;
    std::vector<std::pair<void*, size_t>> maps_;
};

TEST_F(FontPagesTest, OnlyReadOnlyFontMappingsAreUnmappedAndReadTheSameAfter) {
    unsigned char* font = mapped("Face.ttc", PROT_READ);
    unsigned char* other = mapped("table.txt", PROT_READ);
    // A font mapping written once (a copy of its own) keeps what was written.
    unsigned char* written = mapped("Written.otf", PROT_READ | PROT_WRITE);
    ASSERT_TRUE(font && other && written);
    written[0] = 0xAA;
    ASSERT_EQ(mprotect(written, kSize, PROT_READ), 0);
    ASSERT_GT(residentKb(font), 0);

    EXPECT_GE(releaseFontPages(), 1u);
    EXPECT_EQ(residentKb(font), 0);
    EXPECT_GT(residentKb(other), 0);
    EXPECT_GT(residentKb(written), 0);
    EXPECT_EQ(written[0], 0xAA);
    EXPECT_TRUE(intact(font));  // mapped again from the file
    EXPECT_TRUE(intact(other));
}

TEST(FontPages, AnUnreadableMapsFileReleasesNothing) {
    EXPECT_EQ(releaseFontPages("/nonexistent/smaps"), 0u);
}

}  // namespace
}  // namespace lumiko::posix
