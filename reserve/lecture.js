// Tessavo: reading aloud. Published beside the documents of a pupil whose
// teacher checked "Lecture à voix haute"; each document names it. For the
// page NOM.html it plays NOM.mp3 and lights, word by word, the words timed in
// NOM.vtt (one cue a word, written as in the text); a tap on a word reads from
// there. It asks for nothing outside the page's folder; the document's text
// stays as it is (its words are only put in spans), and the play button
// stands over the page, out of its flow. The program's own view ("Écouter")
// runs it in its own world with the audio and the cues it gives.
(function () {
  "use strict";

  // Reads the page aloud: the audio at audioSource, the cues of the WebVTT
  // text; with a play button when withButton. Returns the audio element.
  function tessavoLecture(audioSource, vttText, withButton) {
    var lit = [];
    var words = []; // one entry a cue: its pieces (spans)
    var cues = [];
    var current = -1;
    var audio = document.createElement("audio");
    audio.id = "tessavo-lecture-son";
    audio.preload = "auto";
    audio.src = audioSource;

    function seconds(stamp) {
      var p = stamp.split(":");
      return Number(p[0]) * 3600 + Number(p[1]) * 60 + Number(p[2]);
    }

    function parse(vtt) {
      var lines = vtt.split("\n");
      for (var i = 0; i + 1 < lines.length; i++) {
        var m = /^(\S+) --> (\S+)/.exec(lines[i]);
        if (m) {
          var text = lines[i + 1].replace(/&lt;/g, "<").replace(/&gt;/g, ">").replace(/&amp;/g, "&");
          cues.push({ start: seconds(m[1]), end: seconds(m[2]), text: text });
        }
      }
    }

    // The text nodes of the document's body: between the comments DEBUT and FIN.
    function textNodes() {
      var nodes = [];
      var inside = false;
      var walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT | NodeFilter.SHOW_COMMENT);
      for (var n = walker.nextNode(); n; n = walker.nextNode()) {
        if (n.nodeType === Node.COMMENT_NODE) {
          if (n.data === "DEBUT") inside = true;
          else if (n.data === "FIN") inside = false;
        } else if (inside) {
          nodes.push(n);
        }
      }
      return nodes;
    }

    // Each cue's word found in the text, in order, and its pieces (a word may
    // run over several text nodes: a syllable a colour) put in spans.
    function markWords() {
      var nodes = textNodes();
      var text = "";
      var starts = [];
      nodes.forEach(function (n) { starts.push(text.length); text += n.data; });
      var pieces = [];
      var from = 0;
      cues.forEach(function (cue, k) {
        words.push([]);
        var at = text.indexOf(cue.text, from);
        if (at < 0) return;
        var end = at + cue.text.length;
        from = end;
        for (var j = 0; j < nodes.length; j++) {
          var s = starts[j], e = s + nodes[j].data.length;
          if (e <= at || s >= end) continue;
          pieces.push({ node: j, from: Math.max(at, s) - s, to: Math.min(end, e) - s, cue: k });
        }
      });
      // From the last piece back, so that splitting a node moves no piece still to do.
      for (var p = pieces.length - 1; p >= 0; p--) {
        var piece = pieces[p];
        var node = nodes[piece.node];
        var tail = node.splitText(piece.from);
        tail.splitText(piece.to - piece.from);
        var span = document.createElement("span");
        span.className = "tessavo-mot";
        span.dataset.cue = String(piece.cue);
        tail.parentNode.insertBefore(span, tail);
        span.appendChild(tail);
        words[piece.cue].unshift(span);
        span.addEventListener("click", startAt.bind(null, piece.cue));
      }
    }

    function light(k) {
      if (k === current) return;
      lit.forEach(function (span) { span.style.backgroundColor = ""; span.classList.remove("tessavo-lu"); });
      lit = k >= 0 ? words[k] : [];
      lit.forEach(function (span) { span.style.backgroundColor = "#ffd54f"; span.classList.add("tessavo-lu"); });
      current = k;
    }

    // The cue in force at the audio's time; -1 before the first.
    function cueAt(t) {
      var lo = 0, hi = cues.length - 1, found = -1;
      while (lo <= hi) {
        var mid = (lo + hi) >> 1;
        if (cues[mid].start <= t) { found = mid; lo = mid + 1; } else { hi = mid - 1; }
      }
      return found >= 0 && t < cues[found].end ? found : -1;
    }

    function update() {
      light(audio.ended ? -1 : cueAt(audio.currentTime));
    }

    function startAt(k) {
      audio.currentTime = cues[k].start;
      light(k);
      audio.play();
    }

    var button = document.createElement("button");
    button.id = "tessavo-lecture";
    button.type = "button";
    button.textContent = "\u25B6 \u00C9couter";
    button.style.cssText = "position:fixed;top:8px;right:8px;z-index:10;font-size:20px;padding:6px 12px;";
    button.addEventListener("click", function () {
      if (audio.paused) audio.play(); else audio.pause();
    });

    var ticking = null;
    audio.addEventListener("play", function () {
      button.textContent = "\u275A\u275A Pause";
      if (!ticking) ticking = setInterval(update, 40);
    });
    ["pause", "ended"].forEach(function (name) {
      audio.addEventListener(name, function () {
        button.textContent = "\u25B6 \u00C9couter";
        clearInterval(ticking);
        ticking = null;
        update();
      });
    });
    audio.addEventListener("seeked", update);
    audio.addEventListener("timeupdate", update);

    parse(vttText);
    if (!cues.length) return null;
    markWords();
    document.body.appendChild(audio);
    if (withButton) document.body.appendChild(button);
    return audio;
  }

  window.tessavoLecture = tessavoLecture;
  if (window.tessavoDansLeProgramme) return;
  var page = location.pathname.split("/").pop();
  var base = page.replace(/\.html?$/i, "");
  if (!base || base === page) return;
  var request = new XMLHttpRequest();
  request.open("GET", base + ".vtt");
  request.overrideMimeType("text/vtt; charset=utf-8");
  request.onload = function () {
    if (request.status === 200 || request.status === 0) tessavoLecture(base + ".mp3", request.responseText, true);
  };
  request.send();
})();
