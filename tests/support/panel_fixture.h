// A panel started over the recording fake, in a scratch working directory
// holding small tables that each test writes itself.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/app.h"
#include "platform/fake/fake_services.h"

namespace lumiko::testing {

namespace fs = std::filesystem;

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        std::string tmpl = (fs::temp_directory_path() / "lumiko-test-XXXXXX").string();
        dir_ = mkdtemp(tmpl.data());
        fs::current_path(dir_);
        fs::create_directories(fs::path(u8"词库") / u8"字典");
    }
    void TearDown() override {
        app.reset();
        fs::current_path(previous_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // Writes a table file under 词库 (name in UTF-8, content GBK bytes).
    void writeTable(const char8_t* name, const std::string& bytes) {
        std::ofstream(fs::path(u8"词库") / name, std::ios::binary) << bytes;
    }

    App& start() {
        app = std::make_unique<App>(svc);
        app->startUp();
        return *app;
    }

    void click(Control& c, int x = -1, int y = -1) {
        if (x < 0) x = c.width / 2;
        if (y < 0) y = c.height / 2;
        if (c.onClick) c.onClick();
        if (c.onLeftUp) c.onLeftUp(x, y);
    }
    void key(int k) { click(*app->form.超级按钮[static_cast<size_t>(k)]); }

    std::string typed() const { return svc.typedBytes(); }

    FakeServices svc;
    std::unique_ptr<App> app;

private:
    fs::path previous_;
    fs::path dir_;
};

}  // namespace lumiko::testing
