// The page's saved files: /data is kept in IndexedDB, read before the game starts and stored whole after each change.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  FS.mkdir('/data');
  FS.mount(IDBFS, {}, '/data');
  addRunDependency('data');
  FS.syncfs(true, function (error) {
    if (error)
      console.warn('the saved high scores could not be read: ' + error);
    removeRunDependency('data');
  });
  // The table is written beside itself and renamed over the old one; the
  // store copies the folder as it is then, in one transaction, so it holds
  // the old table or the new one, never half of one.
  var syncing = false, again = false;
  function store() {
    if (syncing) {
      again = true;
      return;
    }
    syncing = true;
    FS.syncfs(false, function (error) {
      if (error)
        console.warn('the high scores could not be stored: ' + error);
      syncing = false;
      Module['stored'] = (Module['stored'] || 0) + 1;
      if (again) {
        again = false;
        store();
      }
    });
  }
  var rename = FS.rename;
  FS.rename = function (from, to) {
    rename(from, to);
    if (PATH_FS.resolve(to).indexOf('/data/') === 0)
      store();
  };
});
