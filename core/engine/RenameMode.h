#pragma once

namespace quillet {

// How a run decides what to rewrite. Literal: the text rules, piece by piece, in the files that
// import a method's header. Precise: the project's tokens, every exact use of a selector
// project-wide, and never a selector that is not the project's own to rename.
enum class RenameMode { literal, precise };

} // namespace quillet
