#include "shell/clock.h"

#include <SDL.h>

#include <chrono>

thread_local int clock_virtual = 0;
thread_local uint32_t clock_now = CLOCK_VIRTUAL_START;

uint32_t ClockTicks()
{
    return clock_virtual ? clock_now : SDL_GetTicks();
}

void ClockDelay(uint32_t ms)
{
    if (clock_virtual)
        clock_now += ms;
    else
        SDL_Delay(ms);
}

void ClockUseVirtual()
{
    clock_virtual = 1;
    clock_now = CLOCK_VIRTUAL_START;
}

uint64_t ClockCostMicros()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}
