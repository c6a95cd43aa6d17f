// The instrument functions a host calls, each an undecorated C name listed
// in trovanix/exports.txt.
