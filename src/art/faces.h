#pragma once
// The ten card faces as words: what each picture shows, and the short name a player who cannot
// see it hears for it.

#include <QString>

namespace art {

// The Russian name of face n (1 … 10); an empty string for any other n.
QString faceName(int n);

} // namespace art
