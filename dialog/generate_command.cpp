// dialog/generate_command.cpp: OKButton_Click, which fills a generation request from the controls and
// writes the routine into the host's active code module.
#include <memory>
#include <string>

#include "dialog/frm_add_in.h"
#include "generator/c_ecrire_code.h"
#include "host/code_module.h"
#include "host/code_pane.h"
#include "host/error_trap.h"
#include "host/host_error.h"
#include "host/ui.h"

namespace dialog {
namespace {

using enum ControlId;

// The host's answer when an empty object reference is used.
[[noreturn]] void ThrowObjectNotSet() {
  throw host::HostError{host::kErrObjectNotSet, std::string{host::kObjectNotSet}};
}

}  // namespace

// A name of blanks only is a name: only the empty text is refused.
void RequireRoutineName(std::string_view name, int comment) {
  if (name.empty() && comment == 0) {
    throw host::HostError{kErrNameMissing, std::string{host::kProgramTitle}, std::string{kNameMissing}};
  }
}

// The request lives for this click only; the module is found before any option is read, so a
// missing code window stops the command before the name test.
void FrmAddIn::GenerateFromControls() {
  const auto checked = [this](ControlId box) { return Value(box) != 0; };
  generator::CEcrireCode request{platform_};

  if (!VBInstance) ThrowObjectNotSet();
  const std::shared_ptr<host::CodePane> pane = VBInstance->ActiveCodePane();
  if (!pane) ThrowObjectNotSet();
  const std::shared_ptr<host::CodeModule> UnLien = pane->CodeModule();
  if (!UnLien) ThrowObjectNotSet();

  request.AideId(Text(txtAideID));
  request.Cacher(checked(chkHide));
  request.Comment(checked(chkComment));
  request.CreerFonction(checked(chkFonction));
  request.CreerProcedure(checked(chkProcedure));
  request.LectureSeule(checked(chkLectureSeule));

  RequireRoutineName(Text(txtPropriete), Value(chkComment));

  request.Nom_Propriete(Text(txtPropriete));
  request.FunctionReturn(Text(cmbFuncReturn));
  request.NomUtilisateur(Text(txtNomUtilisateur));
  request.NomVariable(Text(txtVariable));
  request.Prop_Changed(checked(chkPropertyChanged));
  request.Prop_Friend(checked(chkFriend));
  request.Prop_Prive(checked(chkPrive));
  request.Prop_Set(checked(chkSet));
  request.ResumeNext(checked(chkResumeNext));
  request.TypeVariable(Text(cmbType));
  request.Usage(Text(txtUsage));
  request.VariableLoc_Static(checked(chkStatique));

  // Reports its own failures; the dialog stays as it is.
  request.EcrireCode(*UnLien);
}

void FrmAddIn::OKButton_Click() noexcept {
  try {
    GenerateFromControls();
  } catch (...) {
    host::ShowCaughtFailure(platform_.ui, host::kProgramTitle);
  }
}

}  // namespace dialog
