// host/vb_component.h: the component a code module belongs to, as far as the generator asks it what
// kind of module it is.
#pragma once

#include <string>
#include <string_view>

namespace host {

// The kinds of component the IDE reports in VBComponent.Type (the extensibility library's
// vbext_ComponentType). VB6 has them all but kDocument; the Office VBA editor has kStdModule,
// kClassModule, kMSForm, kActiveXDesigner and kDocument.
enum class ComponentType : long {
  kStdModule = 1,
  kClassModule = 2,
  kMSForm = 3,
  kResFile = 4,
  kVBForm = 5,
  kVBMDIForm = 6,
  kPropPage = 7,
  kUserControl = 8,
  kDocObject = 9,  // a user document
  kRelatedDocument = 10,
  kActiveXDesigner = 11,
  kDocument = 100,  // a document's own module in Office (ThisWorkbook, Sheet1, ThisDocument)
};

// The design property of a class that says whether VB raises Class_ReadProperties and
// Class_WriteProperties for it: 1 persistable, 0 not.
inline constexpr std::string_view kPersistable = "Persistable";

class VBComponent {
 public:
  virtual ~VBComponent() = default;

  // Throws HostError when the IDE cannot tell.
  virtual ComponentType Type() const = 0;
  // The value of design property `name` (Properties(name).Value), as a Long. Throws HostError when
  // the component has no such property or it is not a number.
  virtual long PropertyValue(std::string_view name) const = 0;
  // The component's name (its VB_Name) and its project's; empty where the host cannot tell.
  virtual std::string Name() const { return {}; }
  virtual std::string ProjectName() const { return {}; }

 protected:
  VBComponent() = default;
  VBComponent(const VBComponent&) = default;
  VBComponent& operator=(const VBComponent&) = default;
};

}  // namespace host
