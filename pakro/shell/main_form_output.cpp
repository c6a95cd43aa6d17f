// The output commands of the main window: the SPICE library and the MPL
// pair of the active library, each written after the whole library has been
// computed, and the compile of the host's catalog.
#include <QPointer>
#include <exception>
#include <optional>
#include <string>

#include "pakro/shell/blank.h"
#include "pakro/shell/device_library.h"
#include "pakro/shell/frame_state.h"
#include "pakro/shell/main_form.h"
#include "pakro/shell/output_commands.h"
#include "platform/dialogs.h"
#include "platform/qt_services.h"

namespace pakro {

namespace {

void warn(const std::string& text) {
  platform::messages().show(platform::MessageKind::Warning, text, platform::Buttons::Ok);
}

}  // namespace

// Computes every component of `form`'s library; true when the series went
// through to its last component. Otherwise the user is told why `what` was
// not written.
bool TMainForm::ComputeAllForOutput(QObject* sender, TBlank* form, const std::string& what) {
  QPointer<TBlank> library(form);
  Allcomponents1Click(sender);
  if (!library) return false;
  const DeviceLibrary& list = library->List();
  const bool atLast = list.Current() == list.Count() - 1;
  if (CheckFailed) {
    warn("The " + what + " was not written: the component \"" + list.Name(list.Current()) +
         "\" could not be computed.");
    return false;
  }
  if (!atLast) {
    warn("The " + what + " was not written: the computation of the library was cancelled.");
    return false;
  }
  return true;
}

void TMainForm::CreateSPICELibrary1Click(QObject* sender) {
  TBlank* form = DispatchTarget();
  if (!form) return;
  platform::FileDialogRequest request;
  request.filter = "Spice Library|*.lib";
  request.fileName = OutputBaseName(platform::qt::toPath(form->Caption())) + ".lib";
  const std::optional<std::string> path = platform::fileDialogs().save(request);
  if (!path) return;
  if (!ComputeAllForOutput(sender, form, "SPICE library")) return;
  try {
    form->List().WriteSpiceLibrary(*path);
  } catch (const std::exception& e) {
    ReportError(e);
  }
}

void TMainForm::WriteMPLfile1Click(QObject* sender) {
  TBlank* form = DispatchTarget();
  // Kinds without MPL files keep the command disabled.
  if (!form || !form->List().HasMplFiles()) return;
  const std::string base = OutputBaseName(platform::qt::toPath(form->Caption()));
  if (!ComputeAllForOutput(sender, form, "MPL file")) return;
  try {
    form->List().WriteMplFiles(base + ".mpl", base + ".en");
  } catch (const std::exception& e) {
    ReportError(e);
  }
}

void TMainForm::CompileORVOCatalogSource1Click(QObject*) {
  const std::string directory = CatalogCompilerDir(ExeDir);
  const int code = RunAndWait("BCAT.BAT", {}, directory);
  if (code == -1)
    warn("The catalog compiler \"BCAT.BAT\" could not be started in " + directory + ".");
  else if (code != 0)
    warn("The catalog compiler \"BCAT.BAT\" ended with the exit code " + std::to_string(code) + ".");
}

}  // namespace pakro
