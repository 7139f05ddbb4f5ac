// Added to a copy of the help page by the browser test: once the page has loaded, it reports
// what the browser made of it, as JSON in a preformatted element with the id "results".
window.addEventListener('load', function () {
  var out = {images: [], cssImages: [], maps: [], links: [], resources: []};
  document.querySelectorAll('img').forEach(function (img) {
    out.images.push({src: img.src, complete: img.complete,
                     width: img.naturalWidth, height: img.naturalHeight});
  });
  document.querySelectorAll('map').forEach(function (map) {
    var areas = Array.prototype.slice.call(map.querySelectorAll('area'));
    out.maps.push({name: map.name, areas: areas.length,
                   titled: areas.filter(function (a) { return a.title.trim() !== ''; }).length});
  });
  document.querySelectorAll('[src],[href],[background],[action],[data]').forEach(function (e) {
    if (e.tagName !== 'SCRIPT') {
      out.links.push(e.src || e.href || e.getAttribute('background') ||
                     e.getAttribute('action') || e.getAttribute('data'));
    }
  });
  performance.getEntriesByType('resource').forEach(function (entry) {
    out.resources.push(entry.name);
  });
  // The pictures that only the style sheet names: the page's background and the list bullets.
  var styled = [getComputedStyle(document.body).backgroundImage,
                getComputedStyle(document.querySelector('li')).listStyleImage];
  Promise.all(styled.map(function (css) {
    var url = css.replace(/^url\("?/, '').replace(/"?\)$/, '');
    return new Promise(function (resolve) {
      var picture = new Image();
      picture.onload = function () {
        resolve({src: url, complete: true, width: picture.naturalWidth,
                 height: picture.naturalHeight});
      };
      picture.onerror = function () { resolve({src: url, complete: false, width: 0, height: 0}); };
      picture.src = url;
    });
  })).then(function (cssImages) {
    out.cssImages = cssImages;
    var pre = document.createElement('pre');
    pre.id = 'results';
    pre.textContent = JSON.stringify(out);
    document.body.appendChild(pre);
  });
});
