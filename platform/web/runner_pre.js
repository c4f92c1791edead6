// The runner's program file is this script less its ".js": the game looks for GFX and sounds beside it.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  var readlink = FS.readlink;
  FS.readlink = function (path) {
    return path === '/proc/self/exe' ? __filename.replace(/\.js$/, '') : readlink(path);
  };
});
