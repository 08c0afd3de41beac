#pragma once
// Process-wide set-up of the embedded Firebird engine.

#include <string>

namespace db {

// Points the client library at a configuration folder (firebird.conf plus
// links to the installed plugins, character sets and messages) by setting
// FIREBIRD, unless FIREBIRD is set already. Effective only before the first
// use of the client library; returns false when it came too late or the
// folder holds no firebird.conf.
bool ConfigureEngine(const std::string& confDir);

// The folder ConfigureEngine falls back on when nobody called it: the
// repository's config/firebird (SuperClassic, see its firebird.conf).
std::string DefaultEngineConfigDir();

}  // namespace db
