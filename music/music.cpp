#include "music/music.h"

#include "app/headunit.h"

namespace zelk {

Music::Music(HeadUnit& unit) : m_unit(unit) {}

} // namespace zelk
