// The hook procedures and accessors a host calls, each an undecorated C
// name listed in kwelt/exports.txt.
