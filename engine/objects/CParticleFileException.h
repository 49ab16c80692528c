#pragma once
// Thrown by CParticleEmitter::Load when the particle-system file cannot be
// opened ("Can't open file! (invalid filename?)"), so that a host can tell a
// missing file from a damaged one (which Load reports by returning false).
// Thrown by value, caught by reference:
//
//   try {
//       if (!emitter.Load(path)) { ... emitter.GetLastError() ... }
//   } catch (const CParticleFileException& e) { ... e.what() ... }

#include <stdexcept>
#include <string>

class CParticleFileException : public std::runtime_error {
public:
    explicit CParticleFileException(const std::string& message) : std::runtime_error(message) {}
};
