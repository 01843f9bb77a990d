#include "Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) {
    if (owner)
        owner->Insert(this);
}

TComponent::~TComponent() {
    BeginDestroy();
    NotifyRemoval();
    DestroyComponents();
    if (FOwner)
        FOwner->Remove(this);
}

void TComponent::BeginDestroy() { FDestroying = true; }

void TComponent::NotifyRemoval() {
    while (!FWatchers.empty()) {
        TComponent* watcher = FWatchers.back();
        FWatchers.pop_back();
        std::erase(watcher->FWatchers, this);
        watcher->Notification(this, opRemove);
    }
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty())
        delete FComponents.back();
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (TComponent* component : FComponents)
        if (component->FName == name)
            return component;
    return nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this)
        return;
    if (std::find(FWatchers.begin(), FWatchers.end(), other) == FWatchers.end())
        FWatchers.push_back(other);
    if (std::find(other->FWatchers.begin(), other->FWatchers.end(), this) == other->FWatchers.end())
        other->FWatchers.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other)
        return;
    std::erase(FWatchers, other);
    std::erase(other->FWatchers, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove)
        std::erase(FComponents, component);
    for (TComponent* owned : std::vector<TComponent*>(FComponents))
        owned->Notification(component, operation);
}

void TComponent::Insert(TComponent* component) {
    FComponents.push_back(component);
    component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
    component->FOwner = nullptr;
    std::erase(FComponents, component);
    Notification(component, opRemove);
}
