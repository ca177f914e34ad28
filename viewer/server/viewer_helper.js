// Vimbrel's helper for the viewer pages as the viewer server hands them out.
// The pages on disk are left as they are; the server adds this script to
// each of the seven pages it serves. It:
//  - gives every button and picture that has an ALT text and no title that
//    text as its title (browsers show ALT as a tooltip no more), and the
//    buttons an aria-label;
//  - steps through the pictures with the keys, calling the very functions
//    the buttons call;
//  - lets the thumbnail window's head frame grow to hold all its links;
//  - tells the server, while a viewer window is open, that it is, so that
//    the tool keeps serving it after its own window has closed.
(function () {
  'use strict';

  // Filled in by the server: where this script came from (the presence
  // address lies beside it) and how often a viewer window says it is open.
  var base = '@BASE@';
  var beatSeconds = @BEAT_SECONDS@;

  // The window whose script holds the viewer's functions: this page itself,
  // the frameset it is a frame of, or, from the thumbnail window, the viewer
  // window that opened it while that is still open.
  function viewer() {
    var own = [window, window.parent];
    for (var i = 0; i < own.length; i++) {
      if (typeof own[i].ImgNext === 'function') return own[i];
    }
    var thumbs = thumbnails();
    var opener = thumbs && thumbs.opener;
    if (opener && !opener.closed && opener.parent && typeof opener.parent.ImgNext === 'function') {
      return opener.parent;
    }
    return null;
  }

  // The thumbnail window's frameset, when this page belongs to it.
  function thumbnails() {
    var own = [window, window.parent];
    for (var i = 0; i < own.length; i++) {
      if (typeof own[i].NextPage === 'function') return own[i];
    }
    return null;
  }

  function labelButtons() {
    var images = document.images;
    for (var i = 0; i < images.length; i++) {
      var image = images[i];
      var text = image.getAttribute('alt');
      if (!text) continue;
      if (!image.hasAttribute('title')) image.title = text;
      var link = image.parentNode;
      if (link && link.tagName === 'A' && !link.hasAttribute('aria-label')) {
        link.setAttribute('aria-label', text);
      }
    }
  }

  // What a key does: the name of the function to call and its argument, on
  // the viewer or on the thumbnail window.
  var viewerKeys = {
    ArrowLeft: ['ImgPrev'],
    ArrowRight: ['ImgNext'],
    Home: ['ImgFrist'],
    End: ['ImgLast'],
    '+': ['ImgZoom', 1.2],
    '-': ['ImgZoom', 0.8],
    '0': ['ChgSize', 0],
    f: ['ChgSize', 3],
    F: ['ChgSize', 3],
  };
  var thumbnailKeys = {
    PageUp: ['PrevPage'],
    PageDown: ['NextPage'],
  };

  function onKey(event) {
    if (event.defaultPrevented || event.ctrlKey || event.altKey || event.metaKey) return;
    var target = event.target;
    if (target && (target.isContentEditable || /^(INPUT|TEXTAREA|SELECT|BUTTON)$/.test(target.tagName))) {
      return;
    }
    var call = null;
    var on = null;
    if (event.key === ' ') {
      on = viewer();
      call = on && [on.is_auto ? 'AutoStop' : 'AutoNext'];
    } else if (viewerKeys.hasOwnProperty(event.key)) {
      on = viewer();
      call = viewerKeys[event.key];
    } else if (thumbnailKeys.hasOwnProperty(event.key)) {
      on = thumbnails();
      call = thumbnailKeys[event.key];
    }
    if (!on || !call || typeof on[call[0]] !== 'function') return;
    event.preventDefault();
    on[call[0]].apply(on, call.slice(1));
  }

  // The thumbnail window's head frame is 30 pixels high and cannot scroll;
  // with many pages its links wrap onto more lines than that. Its row of the
  // frameset grows to what the head needs.
  function fitHead() {
    if (window.name !== 'HEAD' || window.parent === window) return;
    var frameset = window.parent.document.getElementsByTagName('frameset')[0];
    var table = document.getElementsByTagName('table')[0];
    if (!frameset || !table) return;
    // The table's foot as laid out now, and the margin it has above.
    var needed = Math.ceil(table.getBoundingClientRect().bottom + window.scrollY + 5);
    var wanted = Math.max(30, needed) + ',*';
    if (frameset.getAttribute('rows') !== wanted) frameset.setAttribute('rows', wanted);
  }

  // A viewer window (the viewer or the thumbnail window) says now and then
  // that it is open, and once that it goes; a page the browser keeps and
  // shows again says so anew.
  var view = Math.random().toString(36).slice(2) + Date.now().toString(36);
  var beat = null;

  function tell(state) {
    var address = base + 'alive?view=' + view + '&state=' + state;
    try {
      fetch(address, { cache: 'no-store', keepalive: true }).catch(function () {});
    } catch (error) {
      new Image().src = address;
    }
  }

  function shown() {
    if (window.top !== window || beat !== null) return;
    tell('open');
    beat = setInterval(function () {
      tell('open');
    }, beatSeconds * 1000);
  }

  function hidden() {
    if (beat === null) return;
    clearInterval(beat);
    beat = null;
    tell('gone');
  }

  document.addEventListener('keydown', onKey);
  window.addEventListener('load', function () {
    labelButtons();
    fitHead();
  });
  window.addEventListener('resize', fitHead);
  window.addEventListener('pageshow', shown);
  window.addEventListener('pagehide', hidden);
})();
