// clock.h - the program's millisecond clock and its sleep.
//
// Millis counts milliseconds in 32 bits and wraps after about 49.7 days: compare readings by
// their difference. PauseMillis suspends the calling thread without handling any events. Under
// the headless harness's virtual clock (platform/clock.h) both follow virtual time: a pause
// moves the clock on at once instead of waiting.
#pragma once

int Millis();
void PauseMillis(int ms);
