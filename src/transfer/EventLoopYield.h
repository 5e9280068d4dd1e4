#pragma once

// Lets pending events run once, then sleeps until the next event or at most 2 ms, so a wait
// for the printer keeps the window live without spinning a core.
void yieldToEventLoop();
