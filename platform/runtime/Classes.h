// The framework's class library in one include: basic types, exceptions, events, the class
// system, persistent objects, components, collections, lists, streams and stored definitions.
#pragma once

#include "platform/runtime/Collection.h"
#include "platform/runtime/Component.h"
#include "platform/runtime/Events.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Filer.h"
#include "platform/runtime/FormText.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Persistent.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/TypInfo.h"
#include "platform/runtime/Types.h"
