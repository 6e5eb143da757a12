// Whole-firm runs as processes, each beside its floor: Update Data Base and
// the all-accounts reports 101, 103, 221, 81, 84, 109 and 107 over a
// generated firm (firm_generator.h) of 100 and 1,000 accounts of 3,000
// transactions, each run the program itself (ledra_script on the data
// directory, playing the run's script of bench/scripts/, output to a named
// file), and its floor: reading every input file of the firm once and
// writing the run's output once (cat of the firm's files, a copy of the
// output), timed one after the other in the same iteration, page cache
// warm (an untimed run and floor go first).
//
// The time of a benchmark is the program's; the counters give the floor
// (floor_s) and its read alone (read_s), the program's time in floors
// (x_floor) and in reads of the firm (x_read), and the program's time an
// account (ms_per_account). See README.md.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/firm_generator.h"

namespace {

namespace fs = std::filesystem;

struct RunKind {
    const char* script;  // bench/scripts/<script>.script
    // The run's output: its named file, or for Update Data Base every
    // holdings and gains file it rewrites.
    bool writes_holdings = false;
};

const RunKind kRuns[] = {
    {"update_database", true}, {"working_appraisal"}, {"account_appraisal"},   {"fixed_income_appraisal"},
    {"transaction_ledger"},    {"realised_gains"},    {"summary_of_accounts"}, {"assets_under_management"},
};

constexpr int kTransactions = 3000;

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

// A generated firm in a directory of its own, made once a run of the
// bench for each size, with the list of its files (the inputs).
class Firm {
public:
    explicit Firm(int accounts) {
        const fs::path previous = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "ledra-whole-firm-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary directory");
        root_ = pattern;
        dir_ = root_ / "firm";
        fs::create_directories(dir_);
        fs::current_path(dir_);
        const bench::GeneratedFirm firm =
            bench::WriteGeneratedFirm({.accounts = accounts, .transactions = kTransactions});
        fs::current_path(previous);
        if (!firm.error.empty()) throw std::runtime_error(firm.error);
        for (const auto& entry : fs::directory_iterator(dir_))
            inputs_.push_back(entry.path().filename().string());
    }
    ~Firm() {
        std::error_code error;
        fs::remove_all(root_, error);
    }
    Firm(const Firm&) = delete;
    Firm& operator=(const Firm&) = delete;

    const fs::path& Dir() const { return dir_; }
    const fs::path& Root() const { return root_; }

    // The floor's two halves as shell scripts: every input file of the
    // firm read once; the run's output written once, into a folder that
    // Clear() empties first.
    fs::path ReadScript() const {
        const fs::path script = root_ / "read.sh";
        std::ofstream out(script);
        out << "cd " << Quoted(dir_) << " || exit 1\ncat";
        for (const std::string& name : inputs_) out << " '" << name << "'";
        out << " > /dev/null\n";
        return script;
    }
    fs::path WriteScript(const RunKind& run) const {
        const fs::path script = root_ / (std::string(run.script) + ".write.sh");
        std::ofstream out(script);
        out << "cd " << Quoted(dir_) << " || exit 1\n";
        out << "cp " << (run.writes_holdings ? "HL*.REC GL*.REC " : "REPORT.TXT ") << Quoted(Copies())
            << "\n";
        return script;
    }
    std::string Clear() const { return "rm -rf " + Quoted(Copies()) + " && mkdir " + Quoted(Copies()); }

private:
    fs::path Copies() const { return root_ / "copies"; }

    fs::path root_;
    fs::path dir_;
    std::vector<std::string> inputs_;
};

Firm& FirmOf(int accounts) {
    static std::map<int, std::unique_ptr<Firm>> firms;
    std::unique_ptr<Firm>& firm = firms[accounts];
    if (!firm) firm = std::make_unique<Firm>(accounts);
    return *firm;
}

double Seconds(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return status == 0 ? seconds : -1;
}

void BM_WholeFirmRun(benchmark::State& state, const RunKind& run) {
    const int accounts = static_cast<int>(state.range(0));
    Firm& firm = FirmOf(accounts);
    const fs::path script = fs::path(LEDRA_BENCH_SCRIPTS) / (std::string(run.script) + ".script");
    const std::string program = std::string(LEDRA_SCRIPT_TOOL) + " --today 1998-12-31 " + Quoted(firm.Dir()) +
                                " " + Quoted(script) + " > " + Quoted(firm.Root() / "run.log") + " 2>&1";
    const std::string read = "sh " + Quoted(firm.ReadScript());
    const std::string write = "sh " + Quoted(firm.WriteScript(run));
    const std::string clear = firm.Clear();
    // Untimed: the page cache takes the firm, the output file exists.
    if (Seconds(program) < 0 || Seconds(read) < 0 || Seconds(clear) < 0 || Seconds(write) < 0) {
        state.SkipWithError("the run or its floor failed (see run.log)");
        return;
    }
    double program_total = 0, read_total = 0, write_total = 0;
    for (auto _ : state) {
        const double p = Seconds(program);
        const double r = Seconds(read);
        const double w = Seconds(clear) < 0 ? -1 : Seconds(write);
        if (p < 0 || r < 0 || w < 0) {
            state.SkipWithError("the run or its floor failed");
            break;
        }
        program_total += p;
        read_total += r;
        write_total += w;
        state.SetIterationTime(p);
    }
    const double iterations = static_cast<double>(state.iterations());
    if (iterations > 0 && read_total > 0) {
        state.counters["read_s"] = read_total / iterations;
        state.counters["floor_s"] = (read_total + write_total) / iterations;
        state.counters["x_floor"] = program_total / (read_total + write_total);
        state.counters["x_read"] = program_total / read_total;
        state.counters["ms_per_account"] = program_total / iterations * 1000.0 / accounts;
    }
}

void Register() {
    for (const RunKind& run : kRuns) {
        benchmark::RegisterBenchmark((std::string("BM_WholeFirm/") + run.script).c_str(), BM_WholeFirmRun,
                                     run)
            ->Arg(100)
            ->Arg(1000)
            ->Iterations(3)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
}

const int registered = (Register(), 0);

}  // namespace

BENCHMARK_MAIN();
