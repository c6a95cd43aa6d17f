// The parameter extractor end to end, one library per device kind, with the
// program's own datasheet forms: open the library, compute all components,
// create the SPICE library, save, and reopen what was saved.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <filesystem>

#include "pakro/shell/program.h"
#include "pakro/shell/blank.h"
#include "pakro/devices/datasheet_forms.h"
#include "pakro/tests/form_test_support.h"
#include "pakro/shell/frame_state.h"
#include "pakro/tests/library_test_support.h"
#include "pakro/shell/main_form.h"
#include "platform/scripted_dialogs.h"
#include "pakro/tests/qt_application.h"

namespace pakro {
namespace {

using testing::FixturePath;
using testing::ReadBytes;
using testing::ScratchDir;

struct KindCase {
  int kind;
  const char* name;        // of the library and of its expected SPICE library
  const char* parameter;   // a parameter edit that shows a computed component
};
constexpr KindCase kCases[] = {
    {kDiode, "diode", "EdIS"},          {kNpnTransistor, "npn", "EdBF"},   {kPnpTransistor, "pnp", "EdBF"},
    {kNChannelJfet, "njfet", "EdBETA"}, {kPChannelJfet, "pjfet", "EdBETA"}, {kNChannelMosfet, "nmos", "EdKP"},
    {kPChannelMosfet, "pmos", "EdKP"},  {kMagneticCore, "core", "EdMS"},
};

class EndToEnd : public testing::FrameWithFormsTest {
 protected:

  ScratchDir dir;
};

TEST_F(EndToEnd, EveryKindFromOpenToItsSpiceLibraryAndBack) {
  for (const KindCase& k : kCases) {
    SCOPED_TRACE(k.name);
    const std::string fixture = std::string("end_to_end/") + k.name;
    const std::string path = dir.Path(std::string(k.name) + ".LBR");
    std::filesystem::copy_file(FixturePath(fixture + ".LBR"), path);
    // No message may come: every datasheet is complete and every output fits.
    platform::testing::ScriptedMessages messages;

    TBlank* form = open(path);
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->Module(), k.kind);
    auto* parameter = form->findChild<QLineEdit*>(k.parameter);
    ASSERT_NE(parameter, nullptr);
    EXPECT_EQ(parameter->text(), "");  // not computed yet

    run("Allcomponents1");
    EXPECT_EQ(CheckFailed, 0);
    EXPECT_EQ(form->List().Current(), form->List().Count() - 1);
    EXPECT_NE(parameter->text(), "");
    EXPECT_TRUE(form->List().Modified());
    form->List().SetCurrent(1);
    form->ShowData();
    testing::SaveScreenshots(dynamic_cast<TDatasheetForm&>(*form), k.name);

    const std::string spice = dir.Path(std::string(k.name) + ".lib");
    {
      platform::testing::ScriptedFileDialogs dialogs;
      dialogs.expectSave(spice);
      run("CreateSPICELibrary1");
    }
    EXPECT_EQ(ReadBytes(spice), ReadBytes(FixturePath(fixture + ".lib")));

    run("FileSaveItem");
    EXPECT_FALSE(form->List().Modified());
    const std::string saved = ReadBytes(path);
    EXPECT_NE(saved, ReadBytes(FixturePath(fixture + ".LBR")));

    // Reopened, the components are computed as they were saved, and saved
    // again they give the same bytes.
    TBlank* again = open(path);
    ASSERT_NE(again, form);
    auto* shown = again->findChild<QLineEdit*>(k.parameter);
    EXPECT_EQ(shown->text(), parameter->text());
    {
      platform::testing::ScriptedFileDialogs dialogs;
      dialogs.expectSave(dir.Path("copy"));
      run("FileSaveAsItem");
    }
    EXPECT_EQ(ReadBytes(dir.Path("copy.LBR")), saved);
    std::filesystem::remove(dir.Path("copy.LBR"));
    EXPECT_TRUE(messages.allAnswered());
  }
}

}  // namespace
}  // namespace pakro
