// dialog/generate_command.cpp: OKButton_Click, which fills a generation request from the controls and
// writes the routine into the host's active code module.
#include <memory>
#include <string>
#include <string_view>

#include "dialog/frm_add_in.h"
#include "generator/ecrire_code.h"
#include "generator/request.h"
#include "generator/request_rules.h"
#include "host/code_module.h"
#include "host/code_pane.h"
#include "host/error_trap.h"
#include "host/host_error.h"
#include "host/ui.h"
#include "host/vb_errors.h"

namespace dialog {
namespace {

using enum ControlId;

// The host's answer when an empty object reference is used.
[[noreturn]] void ThrowObjectNotSet() {
  throw host::VbError(host::kErrObjectNotSet);
}

// Add PropertyChanged refused where no module can run it: vbObjectError + 1001, source "Scrivlet".
constexpr long kErrNoUserControls = -2147220503;  // 0x800403E9
constexpr std::string_view kNoUserControls =
    "Add PropertyChanged writes code for user controls, which this project cannot hold.";

}  // namespace

// The request lives for this click only. The module is found before any option is read, so a missing
// code window stops the command before the name test; the name is tested once the options before it
// in the published order are read, and the rest are read only for a request that passes.
void FrmAddIn::GenerateFromControls() {
  const auto checked = [this](ControlId box) { return Value(box) != 0; };

  if (!VBInstance) ThrowObjectNotSet();
  const std::shared_ptr<host::CodePane> pane = VBInstance->ActiveCodePane();
  if (!pane) ThrowObjectNotSet();
  const std::shared_ptr<host::CodeModule> UnLien = pane->CodeModule();
  if (!UnLien) ThrowObjectNotSet();

  generator::Request request;
  request.sAideId = Text(txtAideID);
  request.bCacher = checked(chkHide);
  request.bComment = checked(chkComment);
  request.bCreerFonction = checked(chkFonction);
  request.bCreerProcedure = checked(chkProcedure);
  request.bLectureSeule = checked(chkLectureSeule);
  request.sNom_Propriete = Text(txtPropriete);

  generator::RequireRoutineName(request);

  request.sFuncReturn = Text(cmbFuncReturn);
  request.sNomutilisateur = Text(txtNomUtilisateur);
  request.sNomVariable = Text(txtVariable);
  request.bProp_Changed = checked(chkPropertyChanged);
  // PropertyChanged and the property bag exist in user controls alone: a VBA project, which holds
  // none, gets neither, and nothing is written.
  if (request.bProp_Changed && !VBInstance->HoldsUserControls()) {
    throw host::HostError{kErrNoUserControls, std::string{host::kProgramTitle}, std::string{kNoUserControls}};
  }
  request.bProp_Friend = checked(chkFriend);
  request.bProp_Prive = checked(chkPrive);
  request.bProp_Set = checked(chkSet);
  request.bResumeNext = checked(chkResumeNext);
  request.sTypeVariable = Text(cmbType);
  request.sUsage = Text(txtUsage);
  request.bVariableLoc_Static = checked(chkStatique);

  // Code VB would refuse is not written: the refusal is shown as the generator shows its own failures,
  // and the dialog stays as it is.
  // The set is read anew for each click: the active project, or the files of its set, may have changed.
  const generator::LoadedTemplates templates = ActiveTemplates();
  if (generator::RefuseUnwritable(request, *UnLien, platform_, templates.set.variablePrefix)) return;
  // Reports its own failures; the dialog stays as it is.
  generator::EcrireCode(request, *UnLien, platform_, &templates.set);
}

void FrmAddIn::OKButton_Click() noexcept {
  try {
    GenerateFromControls();
  } catch (...) {
    host::ShowCaughtFailure(platform_.ui, host::kProgramTitle);
  }
}

}  // namespace dialog
