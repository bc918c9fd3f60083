// lumiko-sim's command interpreter: reads commands line by line, drives the
// panel through its handlers and answers queries from the panel's state and
// the fake desktop's records.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "app/app.h"
#include "platform/fake/fake_services.h"

namespace lumiko::sim {

class Simulator {
public:
    Simulator(App& app, FakeServices& desktop) : app_(app), desk_(desktop) {}

    // Runs every command of `in`; returns the exit status: 0 at the end of
    // the input, 2 after the first bad line (reported on `err`).
    int run(std::istream& in, std::ostream& out, std::ostream& err);

    // One line; throws Error for a bad one.
    void execute(std::string_view line, std::ostream& out);

    bool ended() const;

    struct Error {
        std::string what;
    };

private:
    App& app_;
    FakeServices& desk_;
};

}  // namespace lumiko::sim
