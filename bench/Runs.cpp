#include "Runs.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>

Run RunProcess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env) {
  std::fflush(stdout);
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return {};
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const rlimit cap{rlim_t(kChildAddressSpace), rlim_t(kChildAddressSpace)};
    setrlimit(RLIMIT_AS, &cap);
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    dup2(pipeEnds[1], STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDERR_FILENO);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  Run run;
  char buffer[4096];
  for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) run.output.append(buffer, size_t(n));
  close(pipeEnds[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peakMB = double(usage.ru_maxrss) / 1024.0;
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

std::map<std::string, double> ValuesOf(const std::string& output) {
  std::map<std::string, double> values;
  std::istringstream lines(output);
  std::string name;
  double value = 0;
  while (lines >> name >> value) values[name] = value;
  return values;
}

Spread SpreadOf(std::vector<double> values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values.front(), values.back()};
}

std::string Show(const Spread& spread, const char* format) {
  char median[32], min[32], max[32];
  std::snprintf(median, sizeof median, format, spread.median);
  std::snprintf(min, sizeof min, format, spread.min);
  std::snprintf(max, sizeof max, format, spread.max);
  return std::string(median) + " (" + min + " - " + max + ")";
}
