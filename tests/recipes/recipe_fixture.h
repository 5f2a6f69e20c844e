#pragma once
// A temporary program folder, a recording window, and a fake runner that records every
// command line (the duration probes included) instead of starting the tools.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "exec/app_state.h"
#include "exec/run_tool.h"
#include "platform/command_line.h"
#include "recipes/dispatcher.h"
#include "recipes/temp_names.h"
#include "support/fake_runs.h"
#include "support/recording_window.h"

namespace transcoda::testing {

namespace fs = std::filesystem;

class RecipeFixture : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/transcoda-recipes-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = std::string(pattern) + "/";
        fs::create_directories(root + "prog/B");
        helper = root + "prog/B/";
        AppState& app = App();
        app.ProgramFolder = root + "prog/";
        AttachWindow(&window);
        window.Follow(session);
        app.DebugMode = true;
        app.CurrentLanguage = "FR";
        session.TempBaseName = "tmp0000";
        PlayTools(session);
    }

    // The fake runner plays the tools' part in `played`, whose lines are then described.
    void PlayTools(ConversionSession& played) {
        described_ = &played;
        played.SetRunToolHook([this, &played](const std::string& line) {
            runs.push_back(line);
            if (onRun) onRun(line);
            // The real runner ends the tool and says so once the session is stopped.
            if (!played.Running()) return ToolOutcome::Stop();
            if (outcomeOf) return outcomeOf(line);
            return FakeSuccess(line, IsProbeLine(line) ? inputReport : ClipReport());
        });
    }

    void TearDown() override {
        AppState& app = App();
        app.Window = nullptr;
        app.DebugMode = false;
        app.CurrentLanguage = "FR";
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    static void Write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static void Touch(const std::string& path) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
        if (fd >= 0) ::close(fd);
    }

    // Plays the part of the tools: creates every absolute path the command line names
    // except `input`, wherever its folder exists.
    void CreateNamedFiles(const std::string& line, const std::string& input) {
        const auto args = SplitCommandLine(line);
        for (size_t i = 1; i < args.size(); ++i) {
            if (args[i].starts_with("/") && args[i] != input) Touch(args[i]);
        }
    }

    // A request for `label` with the special values given.
    static ConversionRequest Request(const std::string& input, const std::string& output, const std::string& label,
                                     const SpecialValues& special = {}) {
        return {input, output, label, special};
    }

    // A short form of a recorded command line: "probe X" for a duration probe,
    // otherwise the tool and its path arguments, with the request's input as IN, its
    // output as OUT, the temporary output written in its place as OUT~ (a DVD's
    // temporary folder as OUT/~), the helper folder as B/, TempBaseName as T and any
    // other intermediate stem as L.
    std::string Describe(const std::string& line, const std::string& input, const std::string& output) const {
        const auto args = SplitCommandLine(line);
        std::string tool = fs::path(args.at(0)).filename().string();
        auto shorten = [&](std::string path) {
            if (path == input) return std::string("IN");
            static const std::regex temporary("/\\.[^/]*\\.transcoda-[a-z0-9]{6}[^/]*");
            std::smatch found;
            if (std::regex_search(path, found, temporary)) {
                if (found.suffix().length() == 0 && !output.ends_with("/")) return std::string("OUT~");
                path = found.prefix().str() + "/~" + found.suffix().str();
            }
            std::string out = output;
            if (out.size() > 1 && out.back() == '/') out.pop_back();
            if (path.starts_with(out)) return "OUT" + path.substr(out.size());
            if (path.starts_with(helper)) {
                path = "B/" + path.substr(helper.size());
                const std::string temp = described_->TempBaseName;
                if (!temp.empty() && path.find(temp) != std::string::npos) {
                    path.replace(path.find(temp), temp.size(), "T");
                }
                return std::regex_replace(path, std::regex("tmp[0-9]{4}"), "L");
            }
            return path;
        };
        if (tool == "utilitymffx.exe" && args.size() == 3 && args[1] == "-i") {
            return "probe " + shorten(args[2]);
        }
        std::string text = tool;
        for (size_t i = 1; i < args.size(); ++i) {
            if (args[i].starts_with("/")) text += " " + shorten(args[i]);
        }
        return text;
    }

    std::vector<std::string> Described(const std::string& input, const std::string& output) const {
        std::vector<std::string> out;
        for (const auto& line : runs) out.push_back(Describe(line, input, output));
        return out;
    }

    // Files left in the helper folder whose names begin with "tmp", and temporary
    // outputs left anywhere under the test's folder.
    std::vector<std::string> LeftIntermediates() const {
        std::vector<std::string> left;
        for (const auto& item : fs::directory_iterator(helper)) {
            const std::string name = item.path().filename().string();
            if (name.starts_with("tmp")) left.push_back(name);
        }
        for (const auto& item : fs::recursive_directory_iterator(root)) {
            const std::string name = item.path().filename().string();
            if (name.find(".transcoda-") != std::string::npos) left.push_back(item.path().string());
        }
        return left;
    }

    RecordingWindow window;
    ConversionSession session;
    const ConversionSession* described_ = &session;
    // What the probe says of the input, and, when set, how every run ends instead.
    StreamReport inputReport = ClipReport();
    std::function<ToolOutcome(const std::string&)> outcomeOf;
    std::string root;
    std::string helper;
    std::vector<std::string> runs;
    std::function<void(const std::string&)> onRun;
};

}  // namespace transcoda::testing
