#include "platform/Component.h"

#include <algorithm>

namespace rpt {

namespace {
void Erase(std::vector<TComponent*>& list, TComponent* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}
} // namespace

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_)
        owner_->InsertComponent(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    // Tell every registered component, then drop the links both ways.
    auto notifies = freeNotifies_;
    for (TComponent* other : notifies) {
        Erase(other->freeNotifies_, this);
        other->Notification(this, TOperation::opRemove);
    }
    freeNotifies_.clear();
    // Free owned components, newest first.
    while (!components_.empty()) {
        TComponent* child = components_.back();
        components_.pop_back();
        child->owner_ = nullptr;
        delete child;
    }
    if (owner_) {
        owner_->RemoveComponent(this);
        owner_->Notification(this, TOperation::opRemove);
    }
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this)
        return;
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) ==
        other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other)
        return;
    Erase(other->freeNotifies_, this);
    Erase(freeNotifies_, other);
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::InsertComponent(TComponent* component) { components_.push_back(component); }

void TComponent::RemoveComponent(TComponent* component) { Erase(components_, component); }

} // namespace rpt
