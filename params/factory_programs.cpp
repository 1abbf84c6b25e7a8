// The eight factory programs, as the bank holds them after set-up. Values in parameter
// order: A Mode, A Level, A Decay, A Vel, T Mode, Tone, T Vel, Attack, Sustain (decay
// time), Decay (sustain level), Release, Velocity, Volume.
#include "params/program_bank.h"

// clang-format off
const ProgramRecord kFactoryPrograms[kProgramCount] = {
  //  name              A Mode A Level      A Decay       A Vel        T Mode Tone         T Vel        Attack Sustain      Decay        Release       Velocity     Volume
  {"Basic 1",        {1.0f,  0.0f,        0.01f,        0.01f,       0.01f, 0.37499964f, 0.48499954f, 0.0f,  0.13999987f, 0.83499944f, 0.034999967f, 0.68999934f, 0.26999974f}},
  {"Basic 2",        {1.0f,  0.09499991f, 0.7299999f,   0.01f,       1.0f,  0.42000055f, 0.40499997f, 0.0f,  0.01f,       0.99999917f, 0.01f,        0.34999967f, 0.22999978f}},
  {"FM Classic 1",   {1.0f,  0.34499967f, 0.24999976f,  0.95999944f, 1.0f,  0.26999986f, 0.73499954f, 0.0f,  0.27499974f, 0.55999947f, 0.03999996f,  0.5949998f,  0.3199997f}},
  {"FM Classic 2",   {0.0f,  0.16000009f, 0.35999966f,  0.01f,       0.0f,  0.5049999f,  0.6449994f,  0.0f,  0.28499973f, 1.0f,        0.029999971f, 0.34999967f, 0.16999984f}},
  {"Pump up",        {0.01f, 0.33500028f, 0.07499993f,  0.9149996f,  1.0f,  0.66499984f, 0.7599999f,  0.0f,  0.68999934f, 0.4049996f,  0.024999976f, 0.24999976f, 0.22999978f}},
  {"Sequence this",  {1.0f,  0.63500035f, 1.0f,         0.8049998f,  1.0f,  0.2049998f,  0.70999944f, 0.0f,  0.5200004f,  0.2149998f,  0.034999967f, 0.39499962f, 0.3099997f}},
  {"Deep",           {1.0f,  0.4849999f,  0.029999971f, 0.2249999f,  1.0f,  0.16999984f, 0.0f,        0.01f, 0.15999985f, 0.8249998f,  0.01f,        0.01f,       0.3249997f}},
  {"Knocky",         {1.0f,  0.5650004f,  0.014999986f, 0.01f,       0.01f, 0.8899994f,  0.01f,       0.0f,  0.49500036f, 0.49499953f, 0.099999905f, 0.49499953f, 0.33499968f}},
};
// clang-format on
