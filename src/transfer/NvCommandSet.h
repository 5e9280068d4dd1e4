#pragma once

// The two ways a printer keeps pictures in flash, chosen per job and never mixed in one: NV bit
// images (FS q, numbered, the whole set at once) and NV graphics (GS ( L, kept by key).
enum class NvCommandSet { BitImage, Graphics };
