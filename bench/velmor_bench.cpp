// Benchmarks of the two paths that matter: the no-update start, which runs
// before every start of the catalogue program, and a confirmed update.
// Every figure is printed as a ratio against a baseline measured in the same
// run, since absolute times on a shared machine mean little.
//
//   velmor_bench <bin-folder> [start|throughput|memory|scale|all] [--quick]
//
// <bin-folder> holds velmor2.exe, korvan.exe, update_runner.exe and
// baseline_start (the native release build).
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;
namespace fs = std::filesystem;

namespace {

struct RunResult {
  double seconds = 0;
  long maxRssKb = 0;
  int exitCode = -1;
};

// Runs argv in cwd with extra environment settings; wall time and peak RSS.
RunResult Run(const std::vector<std::string>& argv, const std::string& cwd,
              const std::vector<std::string>& extraEnv = {}, const std::string& stderrFile = "") {
  RunResult r;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(cwd.c_str()) != 0) _exit(127);
    for (const auto& e : extraEnv) putenv(const_cast<char*>(e.c_str()));
    int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 0);
    dup2(devnull, 1);
    if (!stderrFile.empty()) {
      int fd = open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(fd, 2);
    } else {
      dup2(devnull, 2);
    }
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  r.maxRssKb = usage.ru_maxrss;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return r;
}

int Sh(const std::string& command) { return Run({"/bin/sh", "-c", command}, "/").exitCode; }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void WriteBytes(const std::string& path, std::size_t size, std::mt19937_64& rng) {
  fs::create_directories(fs::path(path).parent_path());
  std::string data(size, '\0');
  for (std::size_t i = 0; i < size; i += 8) {
    std::uint64_t x = rng();
    std::memcpy(&data[i], &x, std::min<std::size_t>(8, size - i));
  }
  std::ofstream(path, std::ios::binary).write(data.data(), static_cast<std::streamsize>(size));
}

void WriteText(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// A client installation and its share below root:
//   root/template/APLI  the local program folder before the update
//   root/server/ZOLDATA/APLI  the share with the newer version
// Every server file has an older local counterpart, so each one is backed
// up and replaced. Returns the summed length of the server paths.
struct Tree {
  std::string root;
  std::size_t files = 0;
  std::size_t bytes = 0;
  std::size_t pathBytes = 0;
};

Tree MakeTree(const std::string& root, std::size_t files,
              std::size_t (*sizeOf)(std::size_t, std::mt19937_64&)) {
  Tree t;
  t.root = root;
  fs::remove_all(root);
  std::mt19937_64 rng(42);
  const std::string server = root + "/server/ZOLDATA/APLI/";
  const std::string local = root + "/template/APLI/";
  for (std::size_t i = 0; i < files; ++i) {
    // Nested folders, ten entries wide at each level.
    std::ostringstream rel;
    rel << "d" << (i / 1000) % 100 << "/e" << (i / 100) % 10 << "/f" << i << ".dat";
    const std::size_t size = sizeOf(i, rng);
    WriteBytes(server + rel.str(), size, rng);
    WriteBytes(local + rel.str(), size, rng);
    t.bytes += size;
    t.pathBytes += server.size() + rel.str().size();
  }
  WriteText(server + "VERSION.INI", "2026.12.11 build 018\r\n");
  WriteText(local + "VERSION.INI", "2026.11.02 build 017\r\n");
  WriteText(local + "ZOLENV.INI", "[ENVSET]\r\nPkgKBN=0\r\nSystemENV=3\r\nServerDrive=S\r\n");
  t.files = files + 1;
  t.pathBytes += server.size() + 11;
  fs::create_directories(root + "/work/LOG");
  return t;
}

// Lays the local folder anew from the template (not timed), and writes it
// out, so that no run pays for the disk writes of the one before.
void ResetLocal(const Tree& t, const std::string& bin) {
  Sh("rm -rf '" + t.root + "/work/APLI' '" + t.root + "/work/APLI_BAK' && cp -a '" + t.root +
     "/template/APLI' '" + t.root + "/work/APLI' && cp '" + bin + "/korvan.exe' '" + t.root +
     "/work/APLI/' && sync");
}

RunResult RunUpdate(const Tree& t, const std::string& bin) {
  return Run({bin + "/update_runner.exe"}, t.root + "/work/APLI",
             {"VELMOR_DRIVE_S=" + t.root + "/server"});
}

// The same work with the plain tools: back up the replaced local files, then
// copy the server tree over the local folder.
// With durable: then sync, since the update makes its copies durable
// before the version stamp changes; the plain cp -a leaves them in memory.
RunResult RunCp(const Tree& t, bool durable = false) {
  const std::string w = t.root + "/work";
  return Run({"/bin/sh", "-c",
              "mkdir -p '" + w + "/APLI_BAK' && cp -a '" + w + "/APLI/.' '" + w +
                  "/APLI_BAK/' && cp -a '" + t.root + "/server/ZOLDATA/APLI/.' '" + w +
                  "/APLI/'" + (durable ? " && sync -f '" + w + "/APLI'" : std::string())},
             "/");
}

bool Verify(const Tree& t) {
  return Sh("cmp -s '" + t.root + "/server/ZOLDATA/APLI/VERSION.INI' '" + t.root +
            "/work/APLI/VERSION.INI'") == 0;
}

std::size_t LogUniform1KTo1M(std::size_t, std::mt19937_64& rng) {
  std::uniform_real_distribution<double> u(0.0, 1.0);
  // Skewed towards small files, as program folders are: about 100 KB mean.
  return static_cast<std::size_t>(1024.0 * std::pow(1024.0, std::pow(u(rng), 1.6)));
}
std::size_t Fixed50M(std::size_t, std::mt19937_64&) { return 50u << 20; }
std::size_t Small(std::size_t, std::mt19937_64& rng) { return 100 + rng() % 1900; }

const char* kRoot = "/tmp/velmor-bench";

void BenchStart(const std::string& bin, int rounds) {
  const std::string root = std::string(kRoot) + "/start";
  fs::remove_all(root);
  const std::string app = root + "/local/APLI";
  WriteText(app + "/VERSION.INI", "2026.12.11 build 018\r\n");
  WriteText(app + "/ZOLENV.INI", "[ENVSET]\r\nPkgKBN=0\r\nSystemENV=3\r\nServerDrive=S\r\n");
  WriteText(root + "/server/ZOLDATA/APLI/VERSION.INI", "2026.12.11 build 018\r\n");
  fs::copy_file(bin + "/korvan.exe", app + "/korvan.exe");
  const std::vector<std::string> env = {"VELMOR_DRIVE_S=" + root + "/server"};
  std::vector<double> ours, base;
  for (int i = 0; i < rounds; ++i) {
    ours.push_back(Run({bin + "/velmor2.exe"}, app, env).seconds);
    base.push_back(Run({bin + "/baseline_start"}, app, env).seconds);
  }
  const double o = Median(ours), b = Median(base);
  std::printf("1. no-update start: velmor2 %.3f ms, baseline %.3f ms, ratio %.2f (goal <= 1.2; median of %d)\n",
              o * 1e3, b * 1e3, o / b, rounds);
  auto instructions = [&](const std::string& exe) -> long long {
    const std::string out = root + "/callgrind.txt";
    Run({"valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null", exe}, app, env, out);
    std::ifstream in(out);
    std::string line;
    long long n = -1;
    while (std::getline(in, line)) {
      auto pos = line.find("Collected : ");
      if (pos != std::string::npos) n = std::atoll(line.c_str() + pos + 12);
    }
    return n;
  };
  const long long io = instructions(bin + "/velmor2.exe"), ib = instructions(bin + "/baseline_start");
  if (io > 0 && ib > 0)
    std::printf("   instructions (callgrind): velmor2 %lld, baseline %lld, ratio %.2f\n", io, ib,
                static_cast<double>(io) / static_cast<double>(ib));
  else
    std::printf("   instructions: valgrind not available\n");
}

void BenchThroughput(const std::string& bin, const char* name, std::size_t files,
                     std::size_t (*sizeOf)(std::size_t, std::mt19937_64&), int rounds) {
  Tree t = MakeTree(std::string(kRoot) + "/tp-" + name, files, sizeOf);
  std::vector<double> ours, base, durable;
  bool ok = true;
  for (int i = 0; i < rounds + 1; ++i) {  // the first round warms the page cache
    ResetLocal(t, bin);
    RunResult u = RunUpdate(t, bin);
    ok = ok && u.exitCode == 0 && Verify(t);
    ResetLocal(t, bin);
    RunResult c = RunCp(t);
    ResetLocal(t, bin);
    RunResult d = RunCp(t, true);
    if (i > 0) {
      ours.push_back(u.seconds);
      base.push_back(c.seconds);
      durable.push_back(d.seconds);
    }
  }
  const double o = Median(ours), b = Median(base), d = Median(durable);
  std::printf("2%s. update of %zu files, %.0f MB: velmor2 %.3f s (%.0f MB/s), cp -a %.3f s, ratio %.2f (goal <= 1.0); "
              "cp -a + sync %.3f s, ratio %.2f%s\n",
              name, t.files, static_cast<double>(t.bytes) / 1e6, o,
              2.0 * static_cast<double>(t.bytes) / 1e6 / o, b, o / b, d, o / d,
              ok ? "" : "  UPDATE FAILED");
  fs::remove_all(t.root);
}

void BenchMemoryAndScale(const std::string& bin, bool quick) {
  std::vector<std::size_t> counts = quick ? std::vector<std::size_t>{1000, 10000}
                                          : std::vector<std::size_t>{1000, 10000, 100000};
  std::printf("3/4. update of many small files (per-file cost, peak memory against the path bytes)\n");
  for (std::size_t n : counts) {
    Tree t = MakeTree(std::string(kRoot) + "/scale", n, Small);
    ResetLocal(t, bin);
    RunResult u = RunUpdate(t, bin);
    ResetLocal(t, bin);
    RunResult c = RunCp(t, true);
    const double goalKb = (2.0 * static_cast<double>(t.pathBytes) + 8.0 * 1024 * 1024) / 1024.0;
    std::printf("   %6zu files: %.1f us per file (cp -a + sync %.1f us, ratio %.2f), peak RSS %ld KB, "
                "path bytes %zu KB, goal <= %.0f KB%s%s\n",
                t.files, u.seconds * 1e6 / static_cast<double>(t.files),
                c.seconds * 1e6 / static_cast<double>(t.files), u.seconds / c.seconds, u.maxRssKb,
                t.pathBytes / 1024, goalKb, static_cast<double>(u.maxRssKb) <= goalKb ? "" : "  (missed)",
                u.exitCode == 0 && Verify(t) ? "" : "  UPDATE FAILED");
    fs::remove_all(t.root);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <bin-folder> [start|throughput|memory|scale|all] [--quick]\n", argv[0]);
    return 2;
  }
  const std::string bin = fs::absolute(argv[1]).string();
  std::string what = "all";
  bool quick = false;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quick") == 0) quick = true;
    else what = argv[i];
  }
  std::printf("velmor2 benchmarks, %ld cores%s\n", sysconf(_SC_NPROCESSORS_ONLN), quick ? ", quick" : "");
  if (what == "start" || what == "all") BenchStart(bin, quick ? 21 : 101);
  if (what == "throughput" || what == "all") {
    BenchThroughput(bin, "A", quick ? 200 : 2000, LogUniform1KTo1M, quick ? 1 : 5);
    BenchThroughput(bin, "B", quick ? 2 : 20, Fixed50M, quick ? 1 : 3);
  }
  if (what == "memory" || what == "scale" || what == "all") BenchMemoryAndScale(bin, quick);
  fs::remove_all(kRoot);
  return 0;
}
