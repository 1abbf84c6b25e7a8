// A literal, step-by-step voice for the reference-render test: one internal step runs
// the whole chain (attack, tone, carrier, low-pass) before the next, the envelopes are
// the plain state table, and every operation is written out in its single-precision
// order. The engine, however it is organised for speed, must give the same bits.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace reference {

struct Envelope {
  std::int32_t state = 0;
  float attackRate = 0.0f, decayRate = 0.0f, sustainLevel = 0.0f, releaseRate = 0.0f, level = 0.0f;

  void configure(float sampleRate, double attack, double decay, double sustain, double release) {
    if (0.0001 > attack) attack = 0.0001;
    if (0.0001 > release) release = 0.0001;
    const double e = 0.5 / sampleRate;
    attackRate = static_cast<float>(e / attack);
    decayRate = decay > 0.0 ? static_cast<float>(e / decay) : std::numeric_limits<float>::infinity();
    sustainLevel = static_cast<float>(sustain);
    releaseRate = static_cast<float>(e / release);
  }

  float tick() {
    switch (state) {
      case 0: level = 0.0f; return 0.0f;
      case 1: level += attackRate; if (level >= 1.0f) { level = 1.0f; state = 2; } return level;
      case 2: level -= decayRate; if (sustainLevel >= level) { level = sustainLevel; state = 3; } return level * level;
      case 3: level = sustainLevel; return sustainLevel * sustainLevel;
      case 4: level -= releaseRate; if (level <= 0.0f) { level = 0.0f; state = 0; } return level * level;
      case 5: level -= releaseRate; if (level <= 0.0f) { level = 0.0f; state = 0; } return level;
      default: return 0.0f;
    }
  }
};

inline float bendFactor(float v) {
  const float whole = std::floor(v);
  const float r = v - whole;
  const double q = ((static_cast<double>(r) * static_cast<double>(0.079f) + static_cast<double>(0.225f)) * r +
                    static_cast<double>(0.696f)) * r + whole;
  const std::int32_t bits = static_cast<std::int32_t>(q * 8388608.0 + 1065353216.0);
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

struct Voice {
  std::int32_t carrierPhase = 0, tonePhase = 0, attackPhase = 0;
  std::int32_t carrierIncrement = 0, toneIncrement = 0, attackIncrement = 0;
  float pitch = 1.0f, sampleRate = 0.0f, velocity = 0.0f;
  bool active = false;
  Envelope amp, tone, attack;
  float in = 0.0f, s1 = 0.0f, s2 = 0.0f, s3 = 0.0f, s4 = 0.0f;
  const float* p;
  const std::int16_t* table;

  Voice(const float* parameters, const std::int16_t* sine) : p(parameters), table(sine) {}

  void configureAll() {
    amp.configure(sampleRate, p[7], p[8], p[9], p[10]);
    attack.configure(sampleRate, 0.0, p[2], 0.0, p[2]);
    tone.configure(sampleRate, 0.0, 0.9, 0.7, 0.5);
  }

  static std::int32_t increment(float sampleRate, float frequency) {
    const std::int32_t whole = static_cast<std::int32_t>(32767.0f / (sampleRate / frequency));
    return static_cast<std::int16_t>(whole & 0xFFFF);
  }

  void start(float frequency, float newVelocity) {
    carrierIncrement = increment(sampleRate, 0.5f > p[4] ? 2.0f * frequency : frequency);
    toneIncrement = increment(sampleRate, frequency);
    attackIncrement = increment(sampleRate, p[0] > 0.5f ? 3.0f * frequency : 5.0f * frequency);
    carrierPhase = tonePhase = attackPhase = 0;
    active = true;
    velocity = newVelocity;
    amp.state = tone.state = attack.state = 1;
    amp.level = tone.level = attack.level = 0.0f;
  }

  void release() { amp.state = 4; }
  void fade() { amp.state = 5; }

  void render(std::int32_t count, float* out) {
    if (!active || count < 1) return;
    const float gA = (velocity * p[1] - p[1]) * p[3] + p[1];
    const float gB = (velocity * p[5] - p[5]) * p[6] + p[5];
    const float gC = (velocity * p[12] - p[12]) * p[11] + p[12];
    const std::int32_t iA = static_cast<std::int32_t>(std::floor(static_cast<float>(attackIncrement) * pitch));
    const std::int32_t iB = static_cast<std::int32_t>(std::floor(static_cast<float>(toneIncrement) * pitch));
    const std::int32_t iC = static_cast<std::int32_t>(std::floor(static_cast<float>(carrierIncrement) * pitch));
    const float a = 0.13452738523483276f, b = -0.7309452295303345f;
    for (std::int32_t j = 0; j < 2 * count; ++j) {
      attackPhase = (attackPhase + iA) & 0xFFFF;
      float x = static_cast<float>(table[attackPhase >> 4]);
      x = (attack.tick() * gA) * x;
      tonePhase = (tonePhase + iB) & 0xFFFF;
      x = static_cast<float>(table[((2 * static_cast<std::int32_t>(std::floor(x)) + tonePhase) & 0xFFFF) >> 4]);
      x = (tone.tick() * x) * gB;
      carrierPhase = (carrierPhase + iC) & 0xFFFF;
      x = static_cast<float>(table[((2 * static_cast<std::int32_t>(std::floor(x)) + carrierPhase) & 0xFFFF) >> 4]) *
          3.0518509e-05f;
      x = ((amp.tick() * x) * gC) * 0.5f;
      const float y1 = a * (x + in) - b * s1;
      const float y2 = a * (y1 + s1) - b * s2;
      const float y3 = a * (y2 + s2) - b * s3;
      const float y4 = a * (y3 + s3) - b * s4;
      in = x;
      s1 = y1;
      s2 = y2;
      s3 = y3;
      s4 = y4;
      out[j / 2] += y4;
    }
    active = amp.state != 0;
  }
};

}  // namespace reference
