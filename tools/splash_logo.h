// splash_logo.h - the studio's splash logo: the Tinderwick Games mark and name, 420x236.
#pragma once

#include <string>

#include "tools/canvas.h"

constexpr int kLogoWidth = 420;
constexpr int kLogoHeight = 236;

Canvas DrawSplashLogo();
void WriteSplashLogo(const std::string& path);
