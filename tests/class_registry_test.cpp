// Class registration: superclass first, each class once, with its class
// table, members and handled events.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/Startup.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/TestHooks.h"
#include "ui/Window1.h"

namespace {
class ClassRegistryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Initialize_(); }
  static const ClassRecord& Record(const std::string& name) {
    const ClassRecord* record = RuntimeFindClass(name);
    if (!record) throw std::runtime_error("no class " + name);
    return *record;
  }
};

TEST_F(ClassRegistryTest, EverySuperclassIsRegisteredBeforeItsSubclasses) {
  std::vector<std::string> order = RuntimeRegisteredClasses();
  auto position = [&](const std::string& name) { return std::find(order.begin(), order.end(), name) - order.begin(); };
  for (const auto& name : order) {
    const ClassRecord& record = Record(name);
    if (record.superclass) {
      EXPECT_LT(position(record.superclass->name), position(name)) << name;
    }
  }
  EXPECT_EQ(std::set<std::string>(order.begin(), order.end()).size(), order.size()) << "each class once";
  const char* system[] = {"App", "Window1.Window1", "MenuBar1.MenuBar1", "OpenMenu", "About.About", "AboutMenuClass"};
  for (size_t i = 1; i < std::size(system); ++i) EXPECT_LT(position(system[i - 1]), position(system[i]));
}

TEST_F(ClassRegistryTest, RegisteringAgainFindsTheSameRecord) {
  const ClassRecord* first = Window1::Lookup_();
  std::vector<std::string> lines;
  TestHooks::trace = [&](const std::string& line) { lines.push_back(line); };
  Initialize_();
  TestHooks::trace = nullptr;
  EXPECT_EQ(Window1::Lookup_(), first);
  EXPECT_TRUE(lines.empty());
}

TEST_F(ClassRegistryTest, ClassTablesPutTheInheritedOperationsFirst) {
  struct Case {
    const char* name;
    const char* superclass;
    size_t inherited, own;
    const char* firstOwn;
    const char* last;
  };
  const Case cases[] = {
      {"App", "Application", 17, 1, "Event_Open", "Event_Open"},
      {"Window1.Window1", "Window", 52, 34, "Layout", "Event_EnableMenuItems"},
      {"About.About", "Window", 52, 6, "Layout", "Event_Open"},
      {"MenuBar1.MenuBar1", "MenuBar", 23, 1, "Untitled0", "Untitled0"},
      {"OpenMenu", "MenuItem", 23, 1, "Event_Action", "Event_Action"},
      {"AboutMenuClass", "AppleMenuItem", 23, 1, "Event_Action", "Event_Action"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ClassRecord& record = Record(c.name);
    ASSERT_TRUE(record.superclass);
    EXPECT_EQ(record.superclass->name, c.superclass);
    ASSERT_EQ(record.classTable.size(), c.inherited + c.own);
    EXPECT_EQ(record.classTable[c.inherited], c.firstOwn);
    EXPECT_EQ(record.classTable.back(), c.last);
    EXPECT_TRUE(std::equal(record.superclass->classTable.begin(), record.superclass->classTable.end(),
                           record.classTable.begin()) || std::string(c.name) == "MenuBar1.MenuBar1");
  }
  // MenuBar1's own Constructor takes the slot of the inherited one.
  const auto& bar = Record("MenuBar1.MenuBar1").classTable;
  EXPECT_EQ(bar[20], "MenuBar1.Constructor");
  EXPECT_EQ(Record("Window").events.size(), 33u);
  EXPECT_EQ(Record("Application").events.size(), 10u);
}

TEST_F(ClassRegistryTest, MembersCarryTheirSignaturesAndAttributes) {
  const ClassRecord& window = Record("Window1.Window1");
  ASSERT_EQ(window.members.size(), 34u);
  const MemberRecord* keyDown = window.Member("ExtensionText_KeyDown");
  ASSERT_TRUE(keyDown);
  EXPECT_EQ(keyDown->signature, "%b%o<TextField>s");
  const MemberRecord* hidden = window.Member("_CreateControls0");
  ASSERT_TRUE(hidden);
  EXPECT_EQ(hidden->attributes, (std::vector<std::pair<std::string, std::string>>{{"__Scope", "Public"}, {"Hidden", ""}}));
  EXPECT_EQ(window.Member("FileOpen")->signature, "%o<OpenMenu>%");
  EXPECT_EQ(window.handledEvents, (std::vector<std::string>{"Layout", "CreateControls", "Open", "EnableMenuItems"}));
  const ClassRecord& open = Record("OpenMenu");
  EXPECT_EQ(open.Member("OpenDraggedImage")->signature, "%%o<FolderItem>");
  EXPECT_EQ(open.Member("OpenImage")->attributes.back().first, "__Shared");
  EXPECT_EQ(Record("AboutMenuClass").Member("Event_Action")->signature, "%b%");
  EXPECT_EQ(Record("App").handledEvents, std::vector<std::string>{"Open"});
  EXPECT_TRUE(Record("StaticText").IsA(Record("Label")));
}
}  // namespace
