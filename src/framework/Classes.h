// The component runtime in one include: objects and persistents,
// components, string lists, collections, published-property type
// information and the class registry, the form reader and writer, and the
// process-state reset registry.
#pragma once

#include "framework/ClassRegistry.h"
#include "framework/Collection.h"
#include "framework/Component.h"
#include "framework/FormReader.h"
#include "framework/FormWriter.h"
#include "framework/Object.h"
#include "framework/ProcessState.h"
#include "framework/Set.h"
#include "framework/Strings.h"
#include "framework/TypeInfo.h"
