#pragma once
#include "ClassRegistry.h"
#include "Graphics.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class TForm;

// Builds a form from its description: the form's own properties, then each component in
// order (created by class name, named, placed in its parent, its properties applied in order),
// then the references between components. Errors name the component and property at fault.
class TDescReader {
  public:
    explicit TDescReader(TForm& root) : FRoot(root) {}

    void Read(const TDescNode& node);

    // The property's values, converted; each raises EReadError when the value does not fit.
    int Integer(const TDescProperty& property, size_t index = 0);
    std::string String(const TDescProperty& property, size_t index = 0);
    bool Boolean(const TDescProperty& property);
    int Enum(const TDescProperty& property, std::initializer_list<const char*> names,
             size_t index = 0);
    unsigned Set(const TDescProperty& property, std::initializer_list<const char*> names,
                 size_t index = 0);
    TColor Color(const TDescProperty& property, size_t index = 0);
    int Charset(const TDescProperty& property, size_t index = 0);
    std::string Resource(const TDescProperty& property);
    TNotifyEvent Event(const TDescProperty& property);
    // Calls assign with the named component of the form once every component exists.
    void Reference(const TDescProperty& property, std::function<void(TComponent*)> assign);
    size_t Count(const TDescProperty& property) const { return property.Values.size(); }

    [[noreturn]] void Fail(const TDescProperty& property, const std::string& what) const;

  private:
    void Apply(TComponent& target, const TClassInfo& info, const TDescNode& node);
    void ReadChildren(TComponent& parent, const TDescNode& node);
    const TDescValue& Item(const TDescProperty& property, size_t index, TDescValue::TKind kind,
                           const char* what);

    TForm& FRoot;
    std::string FPath;
    std::vector<std::function<void()>> FFixups;
};

// Registers the framework's own classes and their properties (done once, on first need).
void RegisterFrameworkClasses();
