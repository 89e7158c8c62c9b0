#include "Peers.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {
// The first of the programs found on the PATH, or "".
std::string Found(std::initializer_list<const char*> programs) {
  const char* path = std::getenv("PATH");
  for (const char* program : programs) {
    std::istringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');)
      if (access((folder + "/" + program).c_str(), X_OK) == 0) return program;
  }
  return "";
}

std::string Tiles(const std::string& folder, const JobFormat& f) { return folder + "/t%d." + f.extension; }
std::string Size() { return std::to_string(kJobTile) + "x" + std::to_string(kJobTile); }
}  // namespace

std::vector<Peer> InstalledPeers(const std::string& scratch) {
  std::vector<Peer> peers;
  // Debian's ImageMagick 6 by the binary's own name, so that no other
  // "convert" on the PATH stands in for it.
  if (const std::string convert = Found({"convert-im6.q16", "convert"}); !convert.empty()) {
    // The system policy caps a picture's pixel cache below these sizes; this
    // one lets it hold the picture in memory, as Vamor does.
    std::ofstream(scratch + "/policy.xml")
        << "<policymap><policy domain=\"resource\" name=\"memory\" value=\"16GiB\"/>"
           "<policy domain=\"resource\" name=\"map\" value=\"16GiB\"/>"
           "<policy domain=\"resource\" name=\"area\" value=\"4GP\"/>"
           "<policy domain=\"resource\" name=\"disk\" value=\"8GiB\"/>"
           "<policy domain=\"resource\" name=\"width\" value=\"64KP\"/>"
           "<policy domain=\"resource\" name=\"height\" value=\"64KP\"/></policymap>\n";
    peers.push_back({"ImageMagick", [](const JobFormat&) { return true; },
                     [convert](const std::string& photo, const std::string& folder, const JobFormat& f) {
                       std::vector<std::string> c = {convert, photo, "-strip", "-crop", Size(), "+repage", "+adjoin"};
                       if (f.format == TileFormat::kJpeg) c.insert(c.end(), {"-quality", std::to_string(kJobJpegQuality)});
                       c.push_back(Tiles(folder, f));
                       return c;
                     },
                     {{"MAGICK_THREAD_LIMIT", "1"}, {"OMP_NUM_THREADS", "1"}, {"MAGICK_CONFIGURE_PATH", scratch}}});
  }
  if (!Found({"gm"}).empty())
    // This build has no Photoshop writer: it would write another format into
    // .psd files.
    peers.push_back({"GraphicsMagick", [](const JobFormat& f) { return f.format != TileFormat::kPhotoshop; },
                     [](const std::string& photo, const std::string& folder, const JobFormat& f) {
                       std::vector<std::string> c = {"gm", "convert", photo, "-strip", "-crop", Size(), "+adjoin"};
                       if (f.format == TileFormat::kJpeg) c.insert(c.end(), {"-quality", std::to_string(kJobJpegQuality)});
                       c.push_back(Tiles(folder, f));
                       return c;
                     },
                     {{"OMP_NUM_THREADS", "1"}}});
  if (!Found({"vips"}).empty()) {
    auto dzsave = [](const std::string& photo, const std::string& folder, const JobFormat& f) {
      const std::string suffix = f.format == TileFormat::kJpeg
                                     ? ".jpg[Q=" + std::to_string(kJobJpegQuality) + ",strip]"
                                     : ".png[strip]";
      return std::vector<std::string>{"vips", "dzsave", photo, folder + "/t", "--depth", "one", "--tile-size",
                                      std::to_string(kJobTile), "--overlap", "0", "--suffix", suffix};
    };
    // JPEG and PNG only: it writes no TARGA, Photoshop, SGI or BMP tiles.
    auto jpegAndPng = [](const JobFormat& f) { return f.format == TileFormat::kJpeg || f.format == TileFormat::kPng; };
    peers.push_back({"libvips 1 thread", jpegAndPng, dzsave, {{"VIPS_CONCURRENCY", "1"}}});
    peers.push_back({"libvips all threads", jpegAndPng, dzsave, {}});
  }
  return peers;
}

std::vector<std::string> GraphicsMagickJpeg(const std::string& photo, const std::string& folder, int quality,
                                            bool fullResolutionChroma) {
  if (Found({"gm"}).empty()) return {};
  return {"gm", "convert", photo, "-strip", "-crop", Size(), "+adjoin", "-quality", std::to_string(quality),
          "-sampling-factor", fullResolutionChroma ? "1x1" : "2x2", folder + "/t%d.jpg"};
}
