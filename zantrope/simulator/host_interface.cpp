// The functions a host calls. Each is an undecorated C name listed in
// zantrope/exports.txt.
