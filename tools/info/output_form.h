// How `varnel info` prints what it found: for people or for programs.
#pragma once

enum class OutputForm { Text, Json };
