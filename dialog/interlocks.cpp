// dialog/interlocks.cpp: ObjetInvalide, ObjetValide and the check boxes' reactions, which keep the
// options of the page "Propriety" consistent with one another.
#include <array>

#include "dialog/frm_add_in.h"
#include "host/error_trap.h"

namespace dialog {
using enum ControlId;

// Each reaction's steps, in the order they run. kClear is ObjetInvalide, kValidate is ObjetValide,
// kEnable and kDisable set a control's enabled state directly. The order matters: a cleared box's
// own reaction runs in the middle of the list and may enable boxes that the list has already passed.
const FrmAddIn::Reaction* FrmAddIn::FindReaction(ControlId box) noexcept {
  using enum StepKind;
  // "Comments only" clears chkSet a second time: clearing chkProcedure has just enabled it again.
  static constexpr std::array<Step, 13> kCommentChecked = {{{kClear, chkFonction},
                                                            {kClear, chkFriend},
                                                            {kClear, chkHide},
                                                            {kClear, chkLectureSeule},
                                                            {kClear, chkSet},
                                                            {kClear, chkPrive},
                                                            {kClear, chkProcedure},
                                                            {kClear, chkPropertyChanged},
                                                            {kClear, chkSet},
                                                            {kClear, chkStatique},
                                                            {kDisable, Frame1},
                                                            {kDisable, txtPropriete},
                                                            {kDisable, Label1}}};
  static constexpr std::array<Step, 12> kCommentUnchecked = {{{kValidate, chkFonction},
                                                              {kValidate, chkFriend},
                                                              {kValidate, chkHide},
                                                              {kValidate, chkLectureSeule},
                                                              {kValidate, chkSet},
                                                              {kValidate, chkPrive},
                                                              {kValidate, chkProcedure},
                                                              {kValidate, chkPropertyChanged},
                                                              {kValidate, chkStatique},
                                                              {kEnable, Frame1},
                                                              {kEnable, txtPropriete},
                                                              {kEnable, Label1}}};
  static constexpr std::array<Step, 6> kFonctionChecked = {{{kEnable, Label8},
                                                            {kEnable, cmbFuncReturn},
                                                            {kClear, chkSet},
                                                            {kClear, chkPropertyChanged},
                                                            {kClear, chkLectureSeule},
                                                            {kClear, chkProcedure}}};
  static constexpr std::array<Step, 6> kFonctionUnchecked = {{{kDisable, Label8},
                                                              {kDisable, cmbFuncReturn},
                                                              {kValidate, chkSet},
                                                              {kValidate, chkPropertyChanged},
                                                              {kValidate, chkLectureSeule},
                                                              {kValidate, chkProcedure}}};
  static constexpr std::array<Step, 1> kFriendChecked = {{{kClear, chkPrive}}};
  static constexpr std::array<Step, 1> kFriendUnchecked = {{{kValidate, chkPrive}}};
  static constexpr std::array<Step, 1> kPriveChecked = {{{kClear, chkFriend}}};
  static constexpr std::array<Step, 1> kPriveUnchecked = {{{kValidate, chkFriend}}};
  static constexpr std::array<Step, 4> kLectureSeuleChecked = {
      {{kClear, chkSet}, {kClear, chkPropertyChanged}, {kClear, chkFonction}, {kClear, chkProcedure}}};
  static constexpr std::array<Step, 4> kLectureSeuleUnchecked = {{{kValidate, chkSet},
                                                                  {kValidate, chkPropertyChanged},
                                                                  {kValidate, chkFonction},
                                                                  {kValidate, chkProcedure}}};
  static constexpr std::array<Step, 4> kProcedureChecked = {
      {{kClear, chkSet}, {kClear, chkPropertyChanged}, {kClear, chkFonction}, {kClear, chkLectureSeule}}};
  static constexpr std::array<Step, 4> kProcedureUnchecked = {{{kValidate, chkSet},
                                                               {kValidate, chkPropertyChanged},
                                                               {kValidate, chkFonction},
                                                               {kValidate, chkLectureSeule}}};
  static constexpr std::array<Step, 3> kExcludesRoutinesChecked = {
      {{kClear, chkFonction}, {kClear, chkProcedure}, {kClear, chkLectureSeule}}};
  static constexpr std::array<Step, 3> kExcludesRoutinesUnchecked = {
      {{kValidate, chkFonction}, {kValidate, chkProcedure}, {kValidate, chkLectureSeule}}};

  static constexpr std::array<Reaction, 8> kReactions = {{
      {chkComment, "chkComment_Click", kCommentChecked, kCommentUnchecked},
      {chkFonction, "chkFonction_Click", kFonctionChecked, kFonctionUnchecked},
      {chkFriend, "chkFriend_Click", kFriendChecked, kFriendUnchecked},
      {chkLectureSeule, "chkLectureSeule_Click", kLectureSeuleChecked, kLectureSeuleUnchecked},
      {chkPrive, "chkPrive_Click", kPriveChecked, kPriveUnchecked},
      {chkProcedure, "chkProcedure_Click", kProcedureChecked, kProcedureUnchecked},
      {chkPropertyChanged, "chkPropertyChanged_Click", kExcludesRoutinesChecked, kExcludesRoutinesUnchecked},
      {chkSet, "chkSet_Click", kExcludesRoutinesChecked, kExcludesRoutinesUnchecked},
  }};
  for (const Reaction& reaction : kReactions) {
    if (reaction.box == box) return &reaction;
  }
  return nullptr;  // chkHide, chkStatique and chkResumeNext have none
}

// A failure ends the reaction without its remaining steps; failures inside ObjetInvalide and
// ObjetValide are reported there, and the reaction goes on.
void FrmAddIn::RunReaction(const Reaction& reaction) noexcept {
  try {
    const std::span<const Step> steps = Value(reaction.box) == 1 ? reaction.checked : reaction.unchecked;
    for (const Step& step : steps) {
      switch (step.kind) {
        case StepKind::kClear:
          ObjetInvalide(step.target);
          break;
        case StepKind::kValidate:
          ObjetValide(step.target);
          break;
        case StepKind::kEnable:
          SetEnabled(step.target, true);
          break;
        case StepKind::kDisable:
          SetEnabled(step.target, false);
          break;
      }
    }
  } catch (...) {
    host::ShowCaughtFailure(platform_.ui, reaction.title);
  }
}

// A disabled box is always unchecked: when the box could be disabled but not cleared, it is enabled
// again, so that the programmer can still uncheck it and the generate command does not read an
// option that nobody can see is chosen.
void FrmAddIn::ObjetInvalide(ControlId box) noexcept {
  try {
    SetEnabled(box, false);
    SetValue(box, 0);
  } catch (...) {
    host::ShowCaughtFailure(platform_.ui, "ObjetInvalide");
    ControlState& state = controls_[Index(box)];
    if (!state.enabled && state.value != 0) {
      state.enabled = true;
      Notify(box, Property::kEnabled);
    }
  }
}

void FrmAddIn::ObjetValide(ControlId box) noexcept {
  try {
    SetEnabled(box, true);
  } catch (...) {
    host::ShowCaughtFailure(platform_.ui, "ObjetValide");
  }
}

}  // namespace dialog
