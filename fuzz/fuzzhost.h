#pragma once

// The reference host's pieces for the host-side targets: the built library loaded as
// the host loads it, initialised on a scratch config folder, with a small deck.
#include "deck.h"
#include "packageloader.h"

#include <memory>

class FuzzHost
{
public:
    FuzzHost();
    Deck& deck() { return *m_deck; }
    // Empties the deck, the icon folder and the profile folder between inputs.
    void reset();

private:
    PackageLoader m_loader{QStringLiteral(SYSTEMDLL_LIBRARY)};
    std::unique_ptr<Deck> m_deck;
};
