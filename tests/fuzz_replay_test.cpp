// The decoder fuzzer's seed corpus and every file that ever made a reader
// crash or misbehave (tests/fuzz): each opens or is refused, without a crash,
// and a refusal takes no more than the file's size and 64 MB.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "PeakMemory.h"
#include "TestNames.h"
#include "platform/files/PictureDecoder.h"
#include "platform/graphics/Picture.h"

namespace {
const QString kFuzz = QStringLiteral(VAMOR_FIXTURES "/../fuzz/");

std::vector<std::string> FilesIn(const char* folder) {
  std::vector<std::string> paths;
  for (const QFileInfo& file : QDir(kFuzz + folder).entryInfoList(QDir::Files, QDir::Name))
    paths.push_back(file.absoluteFilePath().toStdString());
  return paths;
}

class ReplaysFuzzFile : public testing::TestWithParam<std::string> {};

TEST_P(ReplaysFuzzFile, OpensOrIsRefusedWithinItsSize) {
  const std::string& path = GetParam();
  const PeakMemory peak;
  PictureOpenFailure failure;
  if (DecodePictureFile(path, failure)) return;
  EXPECT_LE(peak.Added(), uint64_t(QFileInfo(QString::fromStdString(path)).size()) + (64 << 20));
}

std::string TestName(const testing::TestParamInfo<std::string>& info) {
  return TestNameOf(QFileInfo(QString::fromStdString(info.param)).fileName().toStdString());
}

INSTANTIATE_TEST_SUITE_P(Corpus, ReplaysFuzzFile, testing::ValuesIn(FilesIn("corpus")), TestName);
INSTANTIATE_TEST_SUITE_P(Regressions, ReplaysFuzzFile, testing::ValuesIn(FilesIn("regressions")),
                         TestName);
}  // namespace
