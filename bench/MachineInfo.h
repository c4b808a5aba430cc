#pragma once
// One line that says what the bench ran on: processor, cores, memory, the
// Wine version when there is one, and the load at the start.
#include <string>

std::string DescribeMachine();
