// Whole-firm runs as processes, each beside its floor: Update Data Base and
// the all-accounts reports 101, 103, 221, 81, 84, 109 and 107 over a
// generated firm (firm_generator.h) of 100 and 1,000 accounts of 3,000
// transactions, each run the program itself (ledra_script on the data
// directory, playing the run's script of bench/scripts/, output to a named
// file), and its floor: reading every input file of the firm once and
// writing the run's output once, timed one after the other in the same
// iteration, page cache warm (an untimed run and floor go first). The
// floor is measured here, in the bench, with one buffer for every read
// and one write(2) a file, not with cat and cp: cat allocates a buffer
// for each file, and on some virtual machines the page faults of those
// buffers cost many times the read itself.
//
// The time of a benchmark is the program's; the counters give the floor
// (floor_s) and its read alone (read_s), the program's time in floors
// (x_floor) and in reads of the firm (x_read), and the program's time an
// account (ms_per_account). See README.md.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

// A file of the run's output with the bytes the untimed run left in it.
struct OutputFile {
    std::string name;
    std::string bytes;
};

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
            inputs_.push_back((dir_ / entry.path().filename()).string());
    }
    ~Firm() {
        std::error_code error;
        fs::remove_all(root_, error);
    }
    Firm(const Firm&) = delete;
    Firm& operator=(const Firm&) = delete;

    const fs::path& Dir() const { return dir_; }
    const fs::path& Root() const { return root_; }

    // The floor's read: every input file of the firm read once, with
    // read(2) into one buffer that every read reuses and that is touched
    // before the first read, so that the reads fault in no page of it.
    bool ReadInputs() {
        for (const std::string& path : inputs_) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0) return false;
            ssize_t n;
            do {
                n = ::read(fd, buffer_.data(), buffer_.size());
            } while (n > 0 || (n < 0 && errno == EINTR));
            ::close(fd);
            if (n < 0) return false;
        }
        return true;
    }

    // The run's output as the run left it in the firm's directory: its
    // named file, or every holdings and gains file.
    std::vector<OutputFile> Output(const RunKind& run) const {
        std::vector<OutputFile> files;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            const std::string name = entry.path().filename().string();
            const bool wanted = run.writes_holdings ? (name.starts_with("HL") || name.starts_with("GL")) &&
                                                          name.ends_with(".REC")
                                                    : name == "REPORT.TXT";
            if (!wanted) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            files.push_back({name, std::string(std::istreambuf_iterator<char>(in), {})});
        }
        return files;
    }

    // The floor's write: the run's output written once, a file with one
    // write(2) (as many as a short write takes), into a folder that
    // ClearCopies() emptied first.
    bool WriteOutput(const std::vector<OutputFile>& files) const {
        for (const OutputFile& file : files) {
            const int fd =
                ::open((Copies() / file.name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd < 0) return false;
            const char* p = file.bytes.data();
            std::size_t left = file.bytes.size();
            bool ok = true;
            while (left > 0) {
                const ssize_t n = ::write(fd, p, left);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) {
                    ok = false;
                    break;
                }
                p += n;
                left -= static_cast<std::size_t>(n);
            }
            if (::close(fd) != 0 || !ok) return false;
        }
        return true;
    }

    bool ClearCopies() const {
        std::error_code error;
        fs::remove_all(Copies(), error);
        return !error && fs::create_directory(Copies(), error) && !error;
    }

private:
    fs::path Copies() const { return root_ / "copies"; }

    fs::path root_;
    fs::path dir_;
    std::vector<std::string> inputs_;  // paths
    std::vector<char> buffer_ = std::vector<char>(std::size_t{1} << 18, 0);
};

Firm& FirmOf(int accounts) {
    static std::map<int, std::unique_ptr<Firm>> firms;
    std::unique_ptr<Firm>& firm = firms[accounts];
    if (!firm) firm = std::make_unique<Firm>(accounts);
    return *firm;
}

// The seconds step took; -1 when it failed.
template <typename Step>
double Seconds(Step step) {
    const auto start = std::chrono::steady_clock::now();
    const bool ok = step();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return ok ? seconds : -1;
}

void BM_WholeFirmRun(benchmark::State& state, const RunKind& run) {
    const int accounts = static_cast<int>(state.range(0));
    Firm& firm = FirmOf(accounts);
    const fs::path script = fs::path(LEDRA_BENCH_SCRIPTS) / (std::string(run.script) + ".script");
    const std::string command = std::string(LEDRA_SCRIPT_TOOL) + " --today 1998-12-31 " + Quoted(firm.Dir()) +
                                " " + Quoted(script) + " > " + Quoted(firm.Root() / "run.log") + " 2>&1";
    const auto program = [&command] { return std::system(command.c_str()) == 0; };
    const auto read_inputs = [&firm] { return firm.ReadInputs(); };
    std::vector<OutputFile> output;
    const auto write_output = [&firm, &output] { return firm.WriteOutput(output); };
    // Untimed: the page cache takes the firm, the output exists.
    if (Seconds(program) < 0 || (output = firm.Output(run)).empty() || Seconds(read_inputs) < 0 ||
        !firm.ClearCopies() || Seconds(write_output) < 0) {
        state.SkipWithError("the run or its floor failed (see run.log)");
        return;
    }
    double program_total = 0, read_total = 0, write_total = 0;
    for (auto _ : state) {
        const double p = Seconds(program);
        const double r = Seconds(read_inputs);
        const double w = firm.ClearCopies() ? Seconds(write_output) : -1;
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
