// Which implementation of the audio path an effect runs: the baseline, plain
// x86-64 code that calls the C library sample by sample (results as they have
// always been), or the vector path, which computes the library calls four at
// a time with AVX2 and FMA. The processor is asked once per process, never
// on the audio thread.
#pragma once

enum class EnginePath { baseline, vector };

// Whether this processor (and the operating system) can run the vector path.
bool vectorEngineSupported();

// The path new effects take: the vector path where it runs, unless the
// environment variable KVBR_ENGINE_PATH says "baseline". Read once per process.
EnginePath defaultEnginePath();

const char* enginePathName(EnginePath path);
