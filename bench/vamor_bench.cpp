// Vamor's benchmark: the load against the decoder alone, the grid refresh,
// and the whole job (load and export) in every format against the codec and
// against other programs that do the same job, all measured in one run.
//
//   vamor_bench [FILE]   FILE: a large JPEG photograph; a generated one by default
//
// Every figure is a ratio or a share measured in the same run; the machine's
// noise moves the absolute times, not the comparisons.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <turbojpeg.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../tests/support/ScriptedDialogs.h"
#include "app/Startup.h"
#include "export/SaveThread.h"
#include "image/ImageTools.h"
#include "image/OpenMenu.h"
#include "platform/quicktime/GraphicsExporterComponent.h"
#include "platform/quicktime/PluginTable.h"
#include "platform/runtime/TestHooks.h"
#include "platform/ui/Application.h"
#include "ui/Window1.h"

namespace {
using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Peak resident memory of this process so far, in MB.
double PeakMB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

// ---- a photo-like test picture, written as a JPEG by TurboJPEG ------------
std::string MakePhoto(const std::string& path, int w, int h) {
  if (QFileInfo::exists(QString::fromStdString(path))) return path;
  std::vector<unsigned char> rgb(size_t(w) * h * 3);
  uint32_t seed = 12345;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      seed = seed * 1664525u + 1013904223u;
      double noise = double(seed >> 24) / 255.0 * 18.0;
      double fx = x / double(w), fy = y / double(h);
      unsigned char* p = &rgb[(size_t(y) * w + x) * 3];
      p[0] = (unsigned char)std::clamp(120 + 90 * std::sin(fx * 9 + fy * 3) + noise, 0.0, 255.0);
      p[1] = (unsigned char)std::clamp(110 + 80 * std::sin(fy * 11 - fx * 2) + noise, 0.0, 255.0);
      p[2] = (unsigned char)std::clamp(100 + 70 * std::cos((fx + fy) * 7) + noise, 0.0, 255.0);
    }
  tjhandle tj = tjInitCompress();
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  tjCompress2(tj, rgb.data(), w, 0, h, TJPF_RGB, &jpeg, &size, TJSAMP_420, 90, 0);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<char*>(jpeg), long(size));
  tjFree(jpeg);
  tjDestroy(tj);
  return path;
}

// ---- child processes: each measures one thing in a fresh process ----------
struct Started {
  DialogScript dialogs;
  Started() {
    SetDialogInterface(std::make_unique<ScriptedDialogs>(dialogs));
    RuntimeInit();
    Initialize_();
    RunFrameworkInitialization_(&Startup_);
  }
};

// Times SavePicture: the encoder's share of the export.
double encoderSeconds = 0;
bool TimedSave(ExporterHandle* e, const FolderItem& f, const Picture& p) {
  auto real = reinterpret_cast<PluginEntrySignatures::SavePicture>(
      GraphicsExporterEntry("QTGraphicsExporter.SavePicture(location As FolderItem, image As Picture) As Boolean"));
  auto start = Clock::now();
  bool ok = real(e, f, p);
  encoderSeconds += Seconds(start);
  return ok;
}

int ChildDecoder(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
  auto start = Clock::now();
  tjhandle tj = tjInitDecompress();
  int w = 0, h = 0, sub = 0, cs = 0;
  tjDecompressHeader3(tj, bytes.data(), bytes.size(), &w, &h, &sub, &cs);
  std::vector<unsigned char> pixels(size_t(w) * h * 4);
  tjDecompress2(tj, bytes.data(), bytes.size(), pixels.data(), w, 0, h, TJPF_BGRA, 0);
  tjDestroy(tj);
  std::printf("seconds %f\npeak %f\n", Seconds(start), PeakMB());
  return 0;
}

int ChildLoad(const std::string& file) {
  Started program;
  double idle = PeakMB();
  auto start = Clock::now();
  OpenMenu::OpenDraggedImage(std::make_shared<FolderItem>(file));
  double seconds = Seconds(start);
  std::printf("seconds %f\nidle %f\npeak %f\nloaded %d\n", seconds, idle, PeakMB(),
              ImageTools::OriginalImage ? 1 : 0);
  return 0;
}

int ChildGrid() {
  Started program;
  ImageTools::OriginalImage = NewPicture(20000, 20000, 32);
  ImageTools::PreviewImage = NewPicture(284, 284, 32);
  for (const char* tile : {"256", "1"}) {
    Window1()->txtWidth()->Text(tile);
    Window1()->txtHeight()->Text(tile);
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
      auto start = Clock::now();
      ImageTools::MakePreview();
      best = std::min(best, Seconds(start));
    }
    std::printf("grid%s %f\n", tile, best);
  }
  return 0;
}

int ChildJob(const std::string& file, int row, const std::string& folder) {
  TestHooks::pluginLookup = [](const std::string& text) {
    if (text.rfind("QTGraphicsExporter.SavePicture", 0) == 0) return reinterpret_cast<PluginEntry>(&TimedSave);
    return GraphicsExporterEntry(text);
  };
  Started program;
  auto start = Clock::now();
  OpenMenu::OpenDraggedImage(std::make_shared<FolderItem>(file));
  double load = Seconds(start);
  double loadedPeak = PeakMB();
  Window1()->txtWidth()->Text("256");
  Window1()->txtHeight()->Text("256");
  Window1()->formatMenu()->ListIndex(row);
  program.dialogs.folders.push_back(folder);
  auto exportStart = Clock::now();
  SaveThread::SaveTiles();
  double exportSeconds = Seconds(exportStart);
  std::printf("load %f\nexport %f\nencoder %f\nloadedPeak %f\npeak %f\nmessages %zu\n", load, exportSeconds,
              encoderSeconds, loadedPeak, PeakMB(), program.dialogs.messages.size());
  return 0;
}

// ---- the parent: runs the children and the peers, prints the tables -------
std::map<std::string, double> RunChild(const QStringList& args) {
  QProcess p;
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  p.setProcessEnvironment(env);
  p.start(QCoreApplication::applicationFilePath(), args);
  p.waitForFinished(-1);
  std::map<std::string, double> values;
  for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
    QList<QByteArray> parts = line.split(' ');
    if (parts.size() == 2) values[parts[0].toStdString()] = parts[1].toDouble();
  }
  return values;
}

struct Measured {
  double seconds = 0, peakMB = 0;
  bool ok = false;
};

// Runs a command in a child process; its wall time and peak memory.
Measured RunCommand(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env = {}) {
  std::fflush(stdout);
  auto start = Clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    for (const auto& [k, v] : env) setenv(k.c_str(), v.c_str(), 1);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    freopen("/dev/null", "w", stdout);
    freopen("/dev/null", "w", stderr);
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  return {Seconds(start), usage.ru_maxrss / 1024.0, WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

bool Installed(const char* program) { return !QStandardPaths::findExecutable(program).isEmpty(); }

std::string Fresh(const QTemporaryDir& root, const std::string& name) {
  QDir dir(root.path() + "/" + QString::fromStdString(name));
  dir.removeRecursively();
  dir.mkpath(".");
  return dir.path().toStdString();
}

struct Format {
  const char* name;
  int row;
  const char* ext;
};
const Format kFormats[] = {{"JPEG", 0, "jpg"}, {"PNG", 1, "png"}, {"TARGA", 2, "tga"},
                           {"Photoshop", 3, "psd"}, {"SGI", 4, "sgi"}, {"BMP", 5, "bmp"}};

struct Peer {
  std::string name;
  std::function<std::vector<std::string>(const std::string& in, const std::string& out, const Format&)> command;
  std::map<std::string, std::string> env;
  std::function<bool(const Format&)> handles;
};

struct Photo {
  std::string path;
  QSize size;
  double mp, fileMB;
};

Photo Describe(const std::string& path) {
  QSize size = QImageReader(QString::fromStdString(path)).size();
  return {path, size, size.width() * double(size.height()) / 1e6,
          QFileInfo(QString::fromStdString(path)).size() / 1048576.0};
}

// The program's whole load against TurboJPEG's decode alone.
void ReportLoad(const Photo& photo) {
  std::printf("Load of %s (%d x %d, %.1f MP, %.1f MB)\n", photo.path.c_str(), photo.size.width(),
              photo.size.height(), photo.mp, photo.fileMB);
  auto decoder = RunChild({"child-decoder", QString::fromStdString(photo.path)});
  auto load = RunChild({"child-load", QString::fromStdString(photo.path)});
  double pictureMB = photo.mp * 1e6 * 4 / 1048576.0;
  double budget = pictureMB + photo.fileMB + 64, overIdle = load["peak"] - load["idle"];
  std::printf("  decoder alone  %7.3f s   program load %7.3f s   ratio %.2f (target <= 1.30)\n",
              decoder["seconds"], load["seconds"], load["seconds"] / decoder["seconds"]);
  std::printf("  peak over the idle program %.0f MB; budget picture %.0f + file %.0f + 64 = %.0f MB%s\n\n",
              overIdle, pictureMB, photo.fileMB, budget, overIdle <= budget ? "" : "  OVER BUDGET");
}

void ReportGrid() {
  auto grid = RunChild({"child-grid"});
  std::printf("Grid refresh on 20000 x 20000 (best of 5)\n  256-pixel tiles %.2f ms (target < 5)   "
              "1-pixel tiles %.2f ms (target < 50)\n\n",
              grid["grid256"] * 1e3, grid["grid1"] * 1e3);
}

std::vector<Peer> InstalledPeers(const std::string& scratch) {
  // ImageMagick's system policy caps a picture's pixel cache below these
  // sizes; its peer runs under a policy that lets it hold the picture in
  // memory, as Vamor does.
  std::ofstream(scratch + "/policy.xml")
      << "<policymap><policy domain=\"resource\" name=\"memory\" value=\"16GiB\"/>"
         "<policy domain=\"resource\" name=\"map\" value=\"16GiB\"/>"
         "<policy domain=\"resource\" name=\"area\" value=\"4GP\"/>"
         "<policy domain=\"resource\" name=\"disk\" value=\"8GiB\"/>"
         "<policy domain=\"resource\" name=\"width\" value=\"64KP\"/>"
         "<policy domain=\"resource\" name=\"height\" value=\"64KP\"/></policymap>\n";
  std::vector<Peer> peers;
  auto all = [](const Format&) { return true; };
  if (Installed("convert"))
    peers.push_back({"ImageMagick",
                     [](const std::string& in, const std::string& out, const Format& f) {
                       return std::vector<std::string>{"convert", in, "-crop", "256x256", "+repage", "+adjoin",
                                                       "-quality", "80", out + "/t%d." + f.ext};
                     },
                     {{"MAGICK_THREAD_LIMIT", "1"}, {"OMP_NUM_THREADS", "1"}, {"MAGICK_CONFIGURE_PATH", scratch}},
                     all});
  if (Installed("gm"))
    peers.push_back({"GraphicsMagick",
                     [](const std::string& in, const std::string& out, const Format& f) {
                       return std::vector<std::string>{"gm", "convert", in, "-crop", "256x256", "+adjoin",
                                                       "-quality", "80", out + "/t%d." + f.ext};
                     },
                     {{"OMP_NUM_THREADS", "1"}},
                     all});
  if (Installed("vips")) {
    auto dz = [](const std::string& in, const std::string& out, const Format& f) {
      std::string suffix = f.row == 0 ? ".jpg[Q=80]" : ".png";
      return std::vector<std::string>{"vips", "dzsave", in, out + "/t", "--depth", "one", "--tile-size", "256",
                                      "--overlap", "0", "--suffix", suffix};
    };
    auto jpegAndPng = [](const Format& f) { return f.row <= 1; };
    peers.push_back({"libvips 1 thread", dz, {{"VIPS_CONCURRENCY", "1"}}, jpegAndPng});
    peers.push_back({"libvips all threads", dz, {}, jpegAndPng});
  }
  return peers;
}

// The whole job in every format, against each peer doing the same job. Each
// run's tiles are removed once it has been measured.
void ReportJobs(const Photo& photo, const QTemporaryDir& root) {
  std::printf("Whole job on %s (%.1f MP): load and export in 256 x 256 tiles\n", photo.path.c_str(), photo.mp);
  std::printf("  %-10s %7s %8s %9s %8s %10s  %s\n", "format", "job s", "MP/s", "in codec", "peak MB",
              "export +MB", "each peer: its time / Vamor's (> 1: Vamor is faster), time, peak memory");
  const std::vector<Peer> peers = InstalledPeers(root.path().toStdString());
  for (const Format& f : kFormats) {
    std::string out = Fresh(root, "tiles");
    auto job = RunChild({"child-job", QString::fromStdString(photo.path), QString::number(f.row),
                         QString::fromStdString(out)});
    double total = job["load"] + job["export"];
    std::string ratios;
    for (const Peer& peer : peers) {
      if (!peer.handles(f)) continue;
      Measured m = RunCommand(peer.command(photo.path, Fresh(root, "tiles"), f), peer.env);
      char cell[112];
      std::snprintf(cell, sizeof cell, "%s %.2f (%.1f s, %.0f MB)%s; ", peer.name.c_str(), m.seconds / total,
                    m.seconds, m.peakMB, m.ok ? "" : " FAILED");
      ratios += cell;
    }
    Fresh(root, "tiles");
    std::printf("  %-10s %7.2f %8.1f %8.0f%% %8.0f %10.1f  %s\n", f.name, total, photo.mp / job["export"],
                100 * job["encoder"] / job["export"], job["peak"], job["peak"] - job["loadedPeak"], ratios.c_str());
    if (job["messages"] > 0) std::printf("  (the %s export reported a failure)\n", f.name);
  }
}

int Parent(const std::string& given) {
  QTemporaryDir root;
  std::string large = given, photo = given;
  if (given.empty()) {
    QDir cache(QDir::tempPath() + "/vamor-bench");
    cache.mkpath(".");
    std::printf("Test photographs (generated once, kept in %s)\n\n", qPrintable(cache.path()));
    large = MakePhoto(cache.filePath("photo-100mp.jpg").toStdString(), 12000, 8400);
    photo = MakePhoto(cache.filePath("photo-24mp.jpg").toStdString(), 6000, 4000);
  }
  ReportLoad(Describe(large));
  ReportGrid();
  ReportJobs(Describe(photo), root);
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "child-decoder") return ChildDecoder(argv[2]);
  QCoreApplication* app = nullptr;
  if (mode.rfind("child-", 0) != 0) app = new QCoreApplication(argc, argv);
  if (mode == "child-load") return ChildLoad(argv[2]);
  if (mode == "child-grid") return ChildGrid();
  if (mode == "child-job") return ChildJob(argv[2], std::atoi(argv[3]), argv[4]);
  int result = Parent(argc > 1 ? argv[1] : "");
  delete app;
  return result;
}
