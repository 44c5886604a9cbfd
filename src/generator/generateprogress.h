#pragma once

#include "generator/generator.h"

#include <cstddef>
#include <functional>
#include <string>

namespace tw {

// How far a generation has come: the tree's nodes passed and their number.
using GenerationProgress = std::function<void(std::size_t done, std::size_t total)>;

// Generate into mainFile, telling progress after every file.
GenerationCounts Generate(TqzHTML& document, const std::string& mainFile, MessageSink& reporter,
                          const GenerationProgress& progress);

} // namespace tw
