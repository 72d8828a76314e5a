#pragma once
// The options one benchmark program takes, read from the table of
// bench/options.txt (its head says the format; scripts/bench reads the same
// table), and the check of a command line against them: an option the
// program does not take, or a value its pattern refuses, is named in one
// line (exit 2); otherwise --help prints a usage line and the options with
// their defaults (exit 0).
//
// Thread: main thread, before the program starts anything.
#include <regex.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

class BenchOptions {
public:
    struct Option {
        std::string name;   // given as --name=VALUE
        std::string value;  // VALUE, as the table writes it
        std::string line;   // the table's line, for --help
    };

    // The options of `program` in `table`; none when the table does not name it.
    BenchOptions(std::string_view table, std::string_view program)
    {
        std::istringstream lines{std::string(table)};
        std::string line;
        bool ours = false;
        bool listingPrograms = false;
        while (std::getline(lines, line)) {
            std::istringstream words(line);
            std::string first;
            if (!(words >> first) || first[0] == '#') continue;
            if (first == "value") {
                std::string value, pattern;
                words >> value >> pattern;
                patterns_[value] = pattern;
            } else if (first == "programs") {
                if (!listingPrograms) ours = false;
                listingPrograms = true;
                for (std::string name; words >> name;) ours = ours || name == program;
            } else if (first.rfind("--", 0) == 0 && first.find('=') != std::string::npos) {
                listingPrograms = false;
                const auto equals = first.find('=');
                if (ours) options_.push_back({first.substr(2, equals - 2), first.substr(equals + 1), line});
            }
        }
    }

    const std::vector<Option>& options() const { return options_; }

    const Option* find(std::string_view name) const
    {
        for (const Option& option : options_)
            if (option.name == name) return &option;
        return nullptr;
    }

    // Whether `value` is one the option takes.
    bool fits(const Option& option, const std::string& value) const
    {
        const auto named = patterns_.find(option.value);
        const std::string pattern = named != patterns_.end() ? named->second : option.value;
        // POSIX's extended expressions: <regex> would cost every benchmark
        // program's compile several seconds for this one check.
        regex_t whole;
        if (regcomp(&whole, ("^(" + pattern + ")$").c_str(), REG_EXTENDED | REG_NOSUB) != 0) return false;
        const bool fits = regexec(&whole, value.c_str(), 0, nullptr, 0) == 0;
        regfree(&whole);
        return fits;
    }

    // nullopt: run; otherwise the program's exit status. Every argument is
    // read, those beside --help too.
    std::optional<int> check(int argc, char** argv) const
    {
        const std::string program = argc > 0 ? argv[0] : "bench";
        bool help = false;
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            if (arg == "-h" || arg == "--help") {
                help = true;
                continue;
            }
            const auto equals = arg.find('=');
            const Option* option = arg.rfind("--", 0) == 0 ? find(arg.substr(2, equals - 2)) : nullptr;
            if (!option) return refuse(program, "unknown option: " + arg);
            if (equals == std::string::npos) return refuse(program, arg + " needs a value");
            if (!fits(*option, arg.substr(equals + 1)))
                return refuse(program, arg + ": the value is not " + option->value);
        }
        if (!help) return std::nullopt;
        std::printf("usage: %s%s\n\n", program.c_str(), options_.empty() ? "" : " [--OPTION=VALUE...]");
        for (const Option& option : options_) std::printf("  %s\n", option.line.c_str());
        std::printf("  -h, --help  print this and exit\n");
        return 0;
    }

    // The whole number given as --name=N, else the one the table gives as
    // the option's default; nullopt when the default is not a number. Run
    // after check(), which refused any other value.
    std::optional<int> size(int argc, char** argv, const std::string& name) const
    {
        const std::string prefix = "--" + name + "=";
        for (int i = argc - 1; i > 0; --i) {
            const std::string arg = argv[i];
            if (arg.rfind(prefix, 0) == 0) return std::atoi(arg.c_str() + prefix.size());
        }
        const Option* option = find(name);
        return option ? defaultNumber(option->line) : std::nullopt;
    }

private:
    // The N of "(default: N)" in a table line, at most nine digits.
    static std::optional<int> defaultNumber(const std::string& line)
    {
        static constexpr std::string_view kLead = "(default: ";
        for (auto at = line.find(kLead); at != std::string::npos; at = line.find(kLead, at + 1)) {
            const auto digits = at + kLead.size();
            auto end = digits;
            while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end]))) ++end;
            if (end > digits && end - digits <= 9 && end < line.size() && line[end] == ')')
                return std::atoi(line.c_str() + digits);
        }
        return std::nullopt;
    }

    static int refuse(const std::string& program, const std::string& problem)
    {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), problem.c_str());
        return 2;
    }

    std::map<std::string, std::string> patterns_;
    std::vector<Option> options_;
};

}  // namespace bench
