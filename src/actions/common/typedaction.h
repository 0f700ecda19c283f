#pragma once

#include "systemaction.h"

// SystemAction with typed access to what it owns: the record Action::PayloadImpl, the
// key face Face and the inspector Inspector. The three are made here, so an action
// declares no owner of its own; the types need only be complete where the action's
// constructor and the accessors are used.
template <class Action, class Face, class Inspector>
class TypedAction : public SystemAction
{
protected:
    // The inspector made with its default constructor.
    explicit TypedAction(QObject* parent = nullptr)
        : TypedAction([] { return std::make_unique<Inspector>(); }, parent)
    {
    }

    TypedAction(InspectorFactory inspector, QObject* parent)
        : SystemAction(std::make_unique<typename Action::PayloadImpl>(), std::make_unique<Face>(),
                       std::move(inspector), parent)
    {
    }

    auto& record() { return static_cast<typename Action::PayloadImpl&>(payload()); }
    const auto& record() const { return static_cast<const typename Action::PayloadImpl&>(payload()); }
    Face* keyFace() const { return static_cast<Face*>(face()); }
    // Null until the inspector is made.
    Inspector* panel() const { return static_cast<Inspector*>(inspectorWidget()); }
};
