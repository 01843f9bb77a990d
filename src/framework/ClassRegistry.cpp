#include "ClassRegistry.h"

#include "DescReader.h"

static std::map<std::string, TClassInfo>& Classes() {
    static std::map<std::string, TClassInfo> classes;
    return classes;
}

const TPropertySetter* TClassInfo::FindProperty(const std::string& name) const {
    for (const TClassInfo* info = this; info; info = info->Parent) {
        auto found = info->Properties.find(name);
        if (found != info->Properties.end())
            return &found->second;
    }
    return nullptr;
}

TClassInfo& RegisterClassInfo(const std::string& name, const std::string& parent,
                              std::function<TComponent*(TComponent*)> create) {
    RegisterFrameworkClasses();
    TClassInfo& info = Classes()[name];
    info.Name = name;
    info.Parent = parent.empty() ? nullptr : &Classes().at(parent);
    info.Create = std::move(create);
    return info;
}

const TClassInfo* FindClassInfo(const std::string& name) {
    RegisterFrameworkClasses();
    auto found = Classes().find(name);
    return found == Classes().end() ? nullptr : &found->second;
}
