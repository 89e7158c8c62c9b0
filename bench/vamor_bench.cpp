// Vamor's benchmark: the load against the decoder alone, the grid refresh,
// the whole job in every format against other programs that do the same job,
// the export's own work per tile, and JPEG sizes at every quality row.
//
//   vamor_bench [--runs N] [PHOTO.jpg ...]
//
// By default the load runs on a generated 12000 x 8400 photograph and the
// jobs on a generated 6000 x 4000 one and on a camera photograph from Debian's
// mate-backgrounds package. Every time is the median of N runs (5 by default)
// made in turn with the runs it is compared with, printed with the minimum
// and maximum; every job prints the bytes it wrote beside its time.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <turbojpeg.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Peers.h"
#include "ProcessStatus.h"
#include "Runs.h"
#include "ScriptedDialogs.h"
#include "TileFiles.h"
#include "app/Startup.h"
#include "export/SaveThread.h"
#include "image/ImageTools.h"
#include "image/OpenMenu.h"
#include "platform/quicktime/GraphicsExporterComponent.h"
#include "platform/quicktime/JpegQuality.h"
#include "platform/quicktime/PluginTable.h"
#include "platform/runtime/TestHooks.h"
#include "platform/ui/Application.h"
#include "ui/Window1.h"

namespace {
using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// A real camera photograph with its EXIF data, 5640 x 3172.
const char* const kCameraPhoto = "/usr/share/backgrounds/mate/abstract/Elephants_5640x3172.jpg";
// Bytes of a peer's tiles beyond this factor of Vamor's (either way) mean it
// did other work.
constexpr double kComparableBytes = 1.6;
// Tiles of the export's own work per tile, and the rows of the quality menu.
constexpr int kSmallTile = 16;
const char* const kQualityRows[] = {"0 - Worst", "10", "20", "30", "40", "50", "60", "70", "80", "90", "100 - Best"};

// Peak resident memory of this process so far, in MB.
double PeakMB() { return double(StatusBytes("VmHWM")) / 1048576.0; }

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

// Times SavePicture: the encoder and the file calls.
double saveSeconds = 0;
bool TimedSave(ExporterHandle* e, const FolderItem& f, const Picture& p) {
  auto real = reinterpret_cast<PluginEntrySignatures::SavePicture>(
      GraphicsExporterEntry("QTGraphicsExporter.SavePicture(location As FolderItem, image As Picture) As Boolean"));
  auto start = Clock::now();
  bool ok = real(e, f, p);
  saveSeconds += Seconds(start);
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
    ImageTools::MakePreview();  // warm
    auto start = Clock::now();
    ImageTools::MakePreview();
    std::printf("grid%s %f\n", tile, Seconds(start));
  }
  return 0;
}

// The program's whole job: load, then export with its dialogs answered.
// qualityRow: a row of the quality menu, or -1 for the one it starts with.
int ChildJob(const std::string& file, int formatRow, const std::string& folder, int tile, int qualityRow) {
  TestHooks::pluginLookup = [](const std::string& text) {
    if (text.rfind("QTGraphicsExporter.SavePicture", 0) == 0) return reinterpret_cast<PluginEntry>(&TimedSave);
    return GraphicsExporterEntry(text);
  };
  Started program;
  auto start = Clock::now();
  OpenMenu::OpenDraggedImage(std::make_shared<FolderItem>(file));
  double load = Seconds(start);
  double loadedPeak = PeakMB();
  Window1()->txtWidth()->Text(std::to_string(tile));
  Window1()->txtHeight()->Text(std::to_string(tile));
  Window1()->formatMenu()->ListIndex(formatRow);
  if (qualityRow >= 0) Window1()->QualityMenu()->ListIndex(qualityRow);
  program.dialogs.folders.push_back(folder);
  auto exportStart = Clock::now();
  SaveThread::SaveTiles();
  double exportSeconds = Seconds(exportStart);
  std::printf("load %f\nexport %f\nsave %f\nloadedPeak %f\npeak %f\nmessages %zu\n", load, exportSeconds,
              saveSeconds, loadedPeak, PeakMB(), program.dialogs.messages.size());
  return 0;
}

// ---- the parent: runs the children and the peers, prints the tables -------
std::string self;  // this program's path
int runs = 5;

std::string Fresh(const QTemporaryDir& root, const std::string& name) {
  QDir dir(root.path() + "/" + QString::fromStdString(name));
  dir.removeRecursively();
  dir.mkpath(".");
  return dir.path().toStdString();
}

struct Photo {
  std::string path;
  int width = 0, height = 0;
  double mp = 0, fileMB = 0;
  int Tiles(int side) const { return ((width + side - 1) / side) * ((height + side - 1) / side); }
};

Photo Describe(const std::string& path) {
  const QSize size = QImageReader(QString::fromStdString(path)).size();
  return {path, size.width(), size.height(), size.width() * double(size.height()) / 1e6,
          QFileInfo(QString::fromStdString(path)).size() / 1e6};
}

std::vector<std::string> JobCommand(const Photo& photo, const JobFormat& f, const std::string& folder, int tile = kJobTile,
                                    int qualityRow = -1) {
  return {self, "child-job", photo.path, std::to_string(f.row), folder, std::to_string(tile), std::to_string(qualityRow)};
}

// The program's whole load against TurboJPEG's decode alone, in turn.
void ReportLoad(const Photo& photo) {
  std::printf("Load of %s (%d x %d, %.1f MP, %.1f MB)\n", photo.path.c_str(), photo.width, photo.height, photo.mp,
              photo.fileMB);
  std::vector<double> decoder, load, overIdle;
  for (int run = 0; run < runs; ++run) {
    decoder.push_back(ValuesOf(RunProcess({self, "child-decoder", photo.path}).output)["seconds"]);
    auto values = ValuesOf(RunProcess({self, "child-load", photo.path}).output);
    load.push_back(values["seconds"]);
    overIdle.push_back(values["peak"] - values["idle"]);
  }
  const Spread d = SpreadOf(decoder), l = SpreadOf(load), m = SpreadOf(overIdle);
  const double pictureMB = photo.mp * 1e6 * 4 / 1048576.0, budget = pictureMB + photo.fileMB + 64;
  std::printf("  decoder alone %s s   program load %s s   ratio of medians %.2f (target <= 1.30)\n",
              Show(d, "%.3f").c_str(), Show(l, "%.3f").c_str(), l.median / d.median);
  std::printf("  peak over the idle program %s MB; budget picture %.0f + file %.0f + 64 = %.0f MB%s\n\n",
              Show(m, "%.0f").c_str(), pictureMB, photo.fileMB, budget, m.max <= budget ? "" : "  OVER BUDGET");
}

void ReportGrid() {
  std::vector<double> grid256, grid1;
  for (int run = 0; run < runs; ++run) {
    auto values = ValuesOf(RunProcess({self, "child-grid"}).output);
    grid256.push_back(values["grid256"] * 1e3);
    grid1.push_back(values["grid1"] * 1e3);
  }
  std::printf("Grid refresh on 20000 x 20000\n  256-pixel tiles %s ms (target < 5)   1-pixel tiles %s ms (target < 50)\n\n",
              Show(SpreadOf(grid256)).c_str(), Show(SpreadOf(grid1)).c_str());
}

// One program's part in a job: how to run it and what its runs gave.
struct Runner {
  std::string name;
  std::function<std::vector<std::string>(const std::string& folder)> command;
  std::map<std::string, std::string> env;
  std::string problem;  // why it is not comparable; empty when it is
  TileFiles files;
  std::vector<double> seconds, peakMB;
  std::vector<std::map<std::string, double>> inside;  // Vamor's own figures
};

std::string PeerFormatProblem(const Peer& peer, const JobFormat& f, const std::string& sample, const QTemporaryDir& root) {
  const std::string folder = Fresh(root, "check");
  const Run run = RunProcess(peer.command(sample, folder, f), peer.env);
  if (!run.ok) return "failed on a small picture";
  const TileFiles files = InspectTiles(folder, f.extension, f.format);
  if (files.files == 0) return "wrote no ." + std::string(f.extension) + " file";
  return files.problem;
}

void PrintJobRows(const Photo& photo, const JobFormat& f, std::vector<Runner>& runners) {
  const Spread vamor = SpreadOf(runners[0].seconds);
  for (const Runner& r : runners) {
    std::printf("  %-10s %-20s ", &r == &runners[0] ? f.name : "", r.name.c_str());
    if (!r.problem.empty()) {
      std::printf("not comparable: %s\n", r.problem.c_str());
      continue;
    }
    const Spread s = SpreadOf(r.seconds);
    std::printf("%-23s %8.2f %6d %7.0f", Show(s).c_str(), r.files.bytes / 1e6, r.files.files, SpreadOf(r.peakMB).median);
    if (&r != &runners[0]) std::printf("  %5.2f  %+6.1f%%", s.median / vamor.median,
                                       100.0 * (double(r.files.bytes) / double(runners[0].files.bytes) - 1));
    std::printf("\n");
  }
  if (runners[0].inside.empty()) return;
  std::vector<double> load, exportSeconds, save, exportMB;
  for (const auto& v : runners[0].inside) {
    load.push_back(v.at("load"));
    exportSeconds.push_back(v.at("export"));
    save.push_back(100 * v.at("save") / v.at("export"));
    exportMB.push_back(v.at("peak") - v.at("loadedPeak"));
  }
  const Spread e = SpreadOf(exportSeconds);
  const double written = photo.Tiles(kJobTile) * double(kJobTile * kJobTile) / 1e6;
  std::printf("  %-10s %-20s load %s s, export %s s (%.0f MP/s of tiles), SavePicture %s%% of it, export +%.0f MB\n", "",
              "  inside Vamor", Show(SpreadOf(load)).c_str(), Show(e).c_str(), written / e.median,
              Show(SpreadOf(save), "%.0f").c_str(), SpreadOf(exportMB).median);
}

// The whole job in every format, against each peer doing the same job. Each
// peer's tiles of a small picture are checked for the format first, and each
// program runs once untimed before the timed runs, to check its tiles' count
// and bytes against Vamor's. Each run's tiles are removed once measured.
void ReportJobs(const Photo& photo, const std::string& sample, const QTemporaryDir& root) {
  const int tiles = photo.Tiles(kJobTile);
  std::printf("Whole job on %s (%d x %d, %.1f MP): %d tiles of %d x %d, JPEG at quality %d\n", photo.path.c_str(),
              photo.width, photo.height, photo.mp, tiles, kJobTile, kJobTile, kJobJpegQuality);
  std::printf("  whole process in s: median of %d runs in turn (min - max); MB and files written; peak MB; "
              "ratio of median times (> 1: Vamor is faster); bytes against Vamor's\n", runs);
  std::printf("  %-10s %-20s %-23s %8s %6s %7s  %5s  %7s\n", "format", "program", "seconds", "MB", "files", "peak",
              "ratio", "bytes");
  const std::vector<Peer> peers = InstalledPeers(root.path().toStdString());
  for (const JobFormat& f : kJobFormats) {
    std::vector<Runner> runners(1);
    runners[0].name = "Vamor";
    runners[0].command = [&](const std::string& folder) { return JobCommand(photo, f, folder); };
    for (const Peer& peer : peers) {
      if (!peer.writes(f)) continue;
      Runner& r = runners.emplace_back();
      r.name = peer.name;
      r.command = [&peer, &photo, &f](const std::string& folder) { return peer.command(photo.path, folder, f); };
      r.env = peer.env;
      r.problem = PeerFormatProblem(peer, f, sample, root);
    }
    for (Runner& r : runners) {
      if (!r.problem.empty()) continue;
      const std::string folder = Fresh(root, "tiles");
      const Run run = RunProcess(r.command(folder), r.env);
      r.files = InspectTiles(folder, f.extension, f.format);
      const double bytesRatio = double(r.files.bytes) / double(std::max<uint64_t>(1, runners[0].files.bytes));
      if (!run.ok) r.problem = "failed";
      else if (!r.files.problem.empty()) r.problem = r.files.problem;
      else if (r.files.files != tiles) r.problem = std::to_string(r.files.files) + " files for " + std::to_string(tiles) + " tiles";
      else if (bytesRatio > kComparableBytes || bytesRatio < 1 / kComparableBytes)
        r.problem = "it wrote " + std::to_string(r.files.bytes / 1000000) + " MB";
    }
    for (int run = 0; run < runs; ++run)
      for (Runner& r : runners) {
        if (!r.problem.empty()) continue;
        const Run timed = RunProcess(r.command(Fresh(root, "tiles")), r.env);
        r.seconds.push_back(timed.seconds);
        r.peakMB.push_back(timed.peakMB);
        if (&r == &runners[0]) r.inside.push_back(ValuesOf(timed.output));
        if (!timed.ok) r.problem = "a timed run failed";
      }
    Fresh(root, "tiles");
    PrintJobRows(photo, f, runners);
  }
  std::printf("\n");
}

// The export's own work per tile, outside the exporter's SavePicture (which
// encodes and writes the file), with small tiles where it weighs the most.
// The tiles go to memory (tmpfs) where there is one: tens of thousands of
// files made and removed on a disk's file system slow everything around them.
void ReportTileOverhead(const Photo& photo, const QTemporaryDir& root) {
  const QTemporaryDir memory("/dev/shm/vamor-bench-XXXXXX");
  const QTemporaryDir& where = memory.isValid() ? memory : root;
  const int tiles = photo.Tiles(kSmallTile);
  std::vector<double> perTile, savePerTile;
  for (int run = 0; run < runs; ++run) {
    auto v = ValuesOf(RunProcess(JobCommand(photo, kJobFormats[0], Fresh(where, "tiles"), kSmallTile)).output);
    perTile.push_back((v["export"] - v["save"]) / tiles * 1e6);
    savePerTile.push_back(v["save"] / tiles * 1e6);
  }
  Fresh(where, "tiles");
  std::printf("Export of %s in %d JPEG tiles of %d x %d into %s, per tile, median of %d runs (min - max)\n",
              photo.path.c_str(), tiles, kSmallTile, kSmallTile, qPrintable(where.path()), runs);
  std::printf("  outside SavePicture %s us (target <= 7)   inside SavePicture (encoder and file) %s us\n\n",
              Show(SpreadOf(perTile)).c_str(), Show(SpreadOf(savePerTile), "%.1f").c_str());
}

// Bytes of the JPEG tiles that lie wholly inside the photograph, named as
// Vamor names them or as GraphicsMagick numbers them (row by row from 0).
uint64_t WholeTileBytes(const std::string& folder, const Photo& photo, bool vamorNames) {
  const int columns = (photo.width + kJobTile - 1) / kJobTile;
  uint64_t bytes = 0;
  for (int x = 1; x <= photo.width / kJobTile; ++x)
    for (int y = 1; y <= photo.height / kJobTile; ++y) {
      const std::string name = vamorNames ? "x" + std::to_string(x) + "y" + std::to_string(y)
                                          : "t" + std::to_string((y - 1) * columns + x - 1);
      bytes += uint64_t(QFileInfo(QString::fromStdString(folder + "/" + name + ".jpg")).size());
    }
  return bytes;
}

// JPEG tiles at every quality row against GraphicsMagick's at the same libjpeg
// quality and chroma resolution, both without metadata. Only tiles wholly
// inside the photograph count: at the edges Vamor writes whole tiles, white
// past the picture, where GraphicsMagick writes smaller ones. Bytes do not
// vary from run to run: one run each.
void ReportJpegQualities(const Photo& photo, const QTemporaryDir& root) {
  std::printf("JPEG tiles wholly inside %s at each quality row: MB written\n", photo.path.c_str());
  std::printf("  %-11s %7s %7s %8s %14s  %s\n", "row", "quality", "chroma", "Vamor", "GraphicsMagick", "Vamor's bytes against its");
  for (int row = 0; row < int(std::size(kQualityRows)); ++row) {
    const int quality = LibjpegQuality(SaveThread::CompressionQualityOf(kQualityRows[row]));
    const bool full = FullResolutionChroma(quality);
    const std::string ours = Fresh(root, "tiles");
    RunProcess(JobCommand(photo, kJobFormats[0], ours, kJobTile, row));
    const double vamor = double(WholeTileBytes(ours, photo, true));
    const std::string theirs = Fresh(root, "peer");
    const std::vector<std::string> gm = GraphicsMagickJpeg(photo.path, theirs, quality, full);
    if (gm.empty()) return;
    RunProcess(gm);
    const double peer = double(WholeTileBytes(theirs, photo, false));
    std::printf("  %-11s %7d %7s %8.3f %14.3f  %+6.2f%% (target <= +2%%)\n", kQualityRows[row], quality,
                full ? "4:4:4" : "4:2:0", vamor / 1e6, peer / 1e6, 100 * (vamor / peer - 1));
  }
  Fresh(root, "tiles");
  Fresh(root, "peer");
  std::printf("\n");
}

int Parent(const std::vector<std::string>& given) {
  QTemporaryDir root;
  QDir cache(QDir::tempPath() + "/vamor-bench");
  cache.mkpath(".");
  std::printf("Generated photographs kept in %s\n\n", qPrintable(cache.path()));
  const std::string sample = MakePhoto(cache.filePath("photo-small.jpg").toStdString(), 700, 500);
  std::string large = given.empty() ? "" : given.front();
  std::vector<std::string> jobs = given;
  if (given.empty()) {
    large = MakePhoto(cache.filePath("photo-100mp.jpg").toStdString(), 12000, 8400);
    jobs.push_back(MakePhoto(cache.filePath("photo-24mp.jpg").toStdString(), 6000, 4000));
    if (QFileInfo::exists(kCameraPhoto)) jobs.push_back(kCameraPhoto);
    else std::printf("(no camera photograph: scripts/setup test installs it)\n\n");
  }
  ReportLoad(Describe(large));
  ReportGrid();
  for (const std::string& job : jobs) ReportJobs(Describe(job), sample, root);
  ReportTileOverhead(Describe(jobs.front()), root);
  for (const std::string& job : jobs) ReportJpegQualities(Describe(job), root);
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "child-decoder") return ChildDecoder(argv[2]);
  if (mode == "child-load") return ChildLoad(argv[2]);
  if (mode == "child-grid") return ChildGrid();
  if (mode == "child-job")
    return ChildJob(argv[2], std::atoi(argv[3]), argv[4], std::atoi(argv[5]), std::atoi(argv[6]));
  QCoreApplication app(argc, argv);
  self = QCoreApplication::applicationFilePath().toStdString();
  setenv("QT_QPA_PLATFORM", "offscreen", 1);  // for the children that start the program
  std::vector<std::string> photos;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--runs" && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
    else photos.push_back(argv[i]);
  }
  return Parent(photos);
}
