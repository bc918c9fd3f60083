// A small tmpfs mounted over a folder for the life of the object, to fill
// up and see how saves behave on a full disk. Mounting needs root (and a
// system that allows it); `mounted()` says whether it worked, so that a test
// can skip. Windows has no such mount: there the disk is never mounted.
#pragma once

#ifndef _WIN32
#include <sys/mount.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <string>

namespace lumiko::testing {

class SmallDisk {
public:
    SmallDisk(const std::filesystem::path& folder, int kib) : folder_(std::filesystem::absolute(folder)) {
        std::filesystem::create_directories(folder_);
#ifndef _WIN32
        const std::string options = "size=" + std::to_string(kib) + "k,mode=0755";
        mounted_ = ::geteuid() == 0 && ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0;
#else
        (void)kib;
#endif
    }
    ~SmallDisk() {
#ifndef _WIN32
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
#endif
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    // Writes a file of filler until the disk refuses more.
    void fill() const {
        std::ofstream out(folder_ / "filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (out.write(block.data(), static_cast<std::streamsize>(block.size())) && out.flush()) {
        }
    }

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

}  // namespace lumiko::testing
