#pragma once
#include "Control.h"
#include "Description.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <type_traits>
#include <utility>

class TDescReader;

using TPropertySetter =
    std::function<void(TComponent& target, const TDescProperty& property, TDescReader& reader)>;

// A class that window descriptions can name: how to make one and which properties it takes.
struct TClassInfo {
    std::string Name;
    const TClassInfo* Parent = nullptr;
    std::function<TComponent*(TComponent* owner)> Create; // empty for classes never created by name
    std::map<std::string, TPropertySetter> Properties;

    // The setter for a property of this class or of a class it derives from.
    const TPropertySetter* FindProperty(const std::string& name) const;

    // Adds a property whose setter takes the class's own type.
    template <class T>
    TClassInfo& Property(const std::string& name,
                         std::function<void(T&, const TDescProperty&, TDescReader&)> setter) {
        Properties[name] = [setter](TComponent& target, const TDescProperty& property,
                                    TDescReader& reader) {
            setter(dynamic_cast<T&>(target), property, reader);
        };
        return *this;
    }
};

// Registers a class under its name; the parent must be registered before.
TClassInfo& RegisterClassInfo(const std::string& name, const std::string& parent,
                              std::function<TComponent*(TComponent*)> create = nullptr);

template <class T>
TClassInfo& RegisterComponentClass(const std::string& name, const std::string& parent) {
    return RegisterClassInfo(name, parent,
                             [](TComponent* owner) -> TComponent* { return new T(owner); });
}

// Runs the registration the first time it is asked for, and only then. It counts as run from its
// start, so one that is asked for again while it runs (the framework's own classes are, through
// RegisterClassInfo) does not start over. Each lambda is a type of its own, so each registration
// keeps its own record.
template <class TRegistration> void RegisterOnce(TRegistration registration) {
    static_assert(std::is_class_v<TRegistration>, "a lambda: a function pointer shares the record");
    static bool done = false;
    if (!std::exchange(done, true))
        registration();
}

// The registered class of that name, or null.
const TClassInfo* FindClassInfo(const std::string& name);
