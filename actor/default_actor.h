// The built-in actor: the measurements a suit starts with until the client
// gives its own.
#pragma once

#include "varnel.h"

const ActorData& DefaultActorData();
