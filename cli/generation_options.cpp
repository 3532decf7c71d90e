// cli/generation_options.cpp: the command line's choices as one generation request.
#include "cli/generation_options.h"

namespace cli {

bool LacksName(const GenerationOptions& options) noexcept {
  return options.name.empty() && !options.comment;
}

void FillRequest(const GenerationOptions& options, generator::CEcrireCode& request) {
  request.AideId({});
  request.Cacher(options.hide);
  request.Comment(options.comment);
  request.CreerFonction(options.function);
  request.CreerProcedure(options.sub);
  request.LectureSeule(options.readOnly);
  request.Nom_Propriete(options.name);
  request.FunctionReturn(options.returns);
  request.NomUtilisateur(options.programmer);
  request.NomVariable(options.variable);
  request.Prop_Changed(options.changed);
  request.Prop_Friend(options.isFriend);
  request.Prop_Prive(options.isPrivate);
  request.Prop_Set(options.set);
  request.ResumeNext(options.resumeNext);
  request.TypeVariable(options.type);
  request.Usage(options.usage);
  request.VariableLoc_Static(options.isStatic);
}

}  // namespace cli
