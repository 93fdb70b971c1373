// The source of the targets that make the shared precompiled headers
// (cmake/VeskPrecompiledHeaders.cmake); the headers are all they build.
