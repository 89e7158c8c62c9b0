// The placeholder picture: loaded from the resources folder once, then cached.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "StartedVamor.h"
#include "platform/files/BundleResources.h"
#include "platform/runtime/TestHooks.h"

namespace {
class PlaceholderTest : public StartedVamor {
 protected:
  void SetUp() override {
    TestHooks::resourcesFolder = resources.path().toStdString();
    StartedVamor::SetUp();
  }
  void TearDown() override {
    StartedVamor::TearDown();
    TestHooks::resourcesFolder.clear();
  }
  QTemporaryDir resources;
};

TEST_F(PlaceholderTest, MissingFileGivesAnEmptyPreviewThenTheFileIsReadOnce) {
  EXPECT_EQ(Main()->Canvas1()->Backdrop(), nullptr);
  EXPECT_TRUE(dialogs.messages.empty());

  Main()->Close();
  const QString file = QDir(resources.path()).filePath("mulvo_vamor.jpg");
  ASSERT_TRUE(QFile::copy(VAMOR_PLACEHOLDER, file));
  Ref<Picture> loaded = Main()->Canvas1()->Backdrop();
  ASSERT_TRUE(loaded) << "a failed load is tried again";
  EXPECT_EQ(loaded->Width(), 538);

  Main()->Close();
  QFile::remove(file);
  EXPECT_EQ(Main()->Canvas1()->Backdrop(), loaded);
}
}  // namespace
