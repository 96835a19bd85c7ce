// vistrelctl batch: apply or verify on many cameras at once, each target in a process of its own,
// so that a target that hangs or dies never holds up the others.
#include "platform/ExecutablePaths.h"
#include "platform/Profile.h"
#include "tools/vistrelctl/LinkOptions.h"
#include "tools/vistrelctl/Subcommand.h"
#include "tools/vistrelctl/TargetRunner.h"
#include "tools/vistrelctl/TargetsFile.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

namespace vistrel::ctl {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kBatchUsage =
    "usage: vistrelctl batch apply|verify --targets FILE [--jobs N] [--timeout SECONDS] [--json]\n"
    "  FILE: one target per line, written as the options of apply or verify; '#' starts a comment\n";
constexpr int kMaxDefaultJobs = 8;
constexpr long kDefaultTimeLimitS = 120;

struct BatchOptions {
    std::string subcommand;
    std::string targetsPath;
    std::optional<int> jobs;
    long timeLimitS = kDefaultTimeLimitS;
    bool json = false;
};

std::optional<BatchOptions> parseBatchOptions(const std::vector<std::string>& args, std::string& error) {
    BatchOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--targets" || arg == "--jobs" || arg == "--timeout") {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (arg == "--targets") {
                options.targetsPath = value;
                continue;
            }
            const long n = wholeNumber(value).value_or(0);
            if (n <= 0) {
                error = arg + " takes a positive number, not " + value;
                return std::nullopt;
            }
            if (arg == "--jobs") {
                options.jobs = static_cast<int>(n);
            } else {
                options.timeLimitS = n;
            }
        } else if (options.subcommand.empty() && (arg == "apply" || arg == "verify")) {
            options.subcommand = arg;
        } else {
            error = "unexpected argument " + arg;
            return std::nullopt;
        }
    }
    if (options.subcommand.empty() || options.targetsPath.empty()) {
        error = "apply or verify, and --targets FILE, are needed";
        return std::nullopt;
    }
    return options;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// A target's line of output with its target number first; a line that is no JSON object is kept
// as text.
Json withTarget(int target, const std::string& line) {
    Json tagged;
    tagged["target"] = target;
    const Json parsed = Json::parse(line, nullptr, false);
    if (!parsed.is_object()) {
        tagged["text"] = line;
        return tagged;
    }
    for (const auto& [key, value] : parsed.items()) {
        if (key != "target") {
            tagged[key] = value;
        }
    }
    return tagged;
}

void report(int target, const TargetOutcome& outcome, bool json) {
    for (const std::string& line : linesOf(outcome.out)) {
        if (json) {
            std::printf("%s\n", withTarget(target, line).dump().c_str());
        } else {
            std::printf("%d: %s\n", target, line.c_str());
        }
    }
    for (const std::string& line : linesOf(outcome.errors)) {
        std::fprintf(stderr, "vistrelctl batch: target %d: %s\n", target, line.c_str());
    }
    // A target that failed says why in the output too, so that its lines alone tell every target.
    const std::vector<std::string> errorLines = linesOf(outcome.errors);
    std::string why = outcome.ended;
    if (why.empty() && outcome.exitCode != kLinkExitOk && outcome.exitCode != kLinkExitExchangeFailed) {
        why = errorLines.empty() ? "exit status " + std::to_string(outcome.exitCode) : errorLines.back();
    }
    if (!why.empty()) {
        if (json) {
            std::printf("%s\n", Json{{"target", target}, {"error", why}}.dump().c_str());
        } else {
            std::printf("%d: failed: %s\n", target, why.c_str());
        }
    }
    std::fflush(stdout);
}

} // namespace

int runBatch(const std::vector<std::string>& args) {
    std::string error;
    const std::optional<BatchOptions> options = parseBatchOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "vistrelctl batch: %s\n", error.c_str());
        std::fputs(kBatchUsage, stderr);
        return kLinkExitNoLink;
    }
    bool found = false;
    const std::string text = loadProfile(options->targetsPath, &found);
    if (!found) {
        std::fprintf(stderr, "vistrelctl batch: cannot read %s\n", options->targetsPath.c_str());
        return kLinkExitNoLink;
    }
    const std::vector<Target> targets = readTargets(text);
    if (targets.empty()) {
        std::fprintf(stderr, "vistrelctl batch: %s holds no target\n", options->targetsPath.c_str());
        return kLinkExitNoLink;
    }

    int ok = 0;
    int differ = 0;
    int failed = 0;
    const auto count = [&](int exitCode) {
        (exitCode == kLinkExitOk ? ok : exitCode == kLinkExitExchangeFailed ? differ : failed) += 1;
    };
    std::vector<std::vector<std::string>> runnable;
    std::vector<int> lineOf;
    for (const Target& target : targets) {
        if (!target.error.empty()) {
            TargetOutcome unreadable;
            unreadable.ended = "cannot read the line: " + target.error;
            report(target.line, unreadable, options->json);
            count(-1);
            continue;
        }
        std::vector<std::string> words{options->subcommand};
        words.insert(words.end(), target.words.begin(), target.words.end());
        if (options->json && std::find(words.begin(), words.end(), "--json") == words.end()) {
            words.push_back("--json");
        }
        runnable.push_back(std::move(words));
        lineOf.push_back(target.line);
    }
    const int jobs = options->jobs.value_or(std::min(static_cast<int>(targets.size()), kMaxDefaultJobs));
    runTargets(executablePath(), runnable, jobs, std::chrono::seconds(options->timeLimitS),
               [&](const TargetOutcome& outcome) {
                   report(lineOf[static_cast<std::size_t>(outcome.index)], outcome, options->json);
                   count(outcome.ended.empty() ? outcome.exitCode : -1);
               });

    const int total = static_cast<int>(targets.size());
    if (options->json) {
        std::printf("%s\n",
                    Json{{"targets", total}, {"ok", ok}, {"differ", differ}, {"failed", failed}}.dump().c_str());
    } else {
        std::printf("targets %d: ok %d, differ %d, failed %d\n", total, ok, differ, failed);
    }
    return failed > 0 ? kLinkExitNoLink : differ > 0 ? kLinkExitExchangeFailed : kLinkExitOk;
}

} // namespace vistrel::ctl
