// ogg_fixture.h - Ogg Vorbis files made on the spot for the audio tests.
#pragma once

#include <string>
#include <vector>

// Encodes `channels` (one vector of samples in -1..1 per channel, all of one length) at `rate`.
std::vector<unsigned char> EncodeOgg(const std::vector<std::vector<float>>& channels, int rate);

// `frames` samples of a sine of `hertz` at `rate`, peak `amplitude`.
std::vector<float> Sine(int frames, double hertz, int rate, double amplitude = 0.5);

// Writes `bytes` to a fresh file in the temporary folder and returns its path.
std::string WriteTempFile(const std::string& name, const std::vector<unsigned char>& bytes);
