#pragma once

// A moment of the lid worth a reaction: folded nearly shut, and opened again after that.
enum class LidCue { tucked, reopened };
