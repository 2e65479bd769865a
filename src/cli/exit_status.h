#pragma once

// Exit statuses of a run. After the volume is open, every stage ends the run
// by throwing one of these as a plain int; the run frame catches it, closes
// the volume and returns it from main. Statuses 7 and 8 are never produced.
inline constexpr int kStatusSuccess = 0;           // converted, or nothing to change
inline constexpr int kStatusUsageOrWrite = 1;      // no argument; rewind or write failed
inline constexpr int kStatusNotConvertible = 2;    // counts or layout do not allow it
inline constexpr int kStatusUnsupportedVolume = 3; // sector size on the volume
inline constexpr int kStatusNotFat = 4;            // file system ID
inline constexpr int kStatusBadSignature = 5;      // no 0xAA55 at offset 510
inline constexpr int kStatusReadFailed = 6;
inline constexpr int kStatusOpenFailed = 9;
inline constexpr int kStatusUnsupportedSize = 10; // the S option
inline constexpr int kStatusSyntaxError = 11;
