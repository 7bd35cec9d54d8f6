// The host's stream of changes (Server-Sent Events): new pictures, settings changed from
// anywhere, the Settings app's page moved on by any tab. A stream that breaks is opened again;
// every (re)opened stream starts with `hello`, after which the page must catch up on what it
// missed.

// The browser retries a dropped stream by itself, but gives up on one the host refused (an
// HTTP error); that one is opened again after this long.
const reopenAfter = 2000;

// handlers: { hello(data), screen(data), settings(data), page(data), lost() }.
export function listenForChanges(handlers) {
  const open = () => {
    const source = new EventSource('/api/events');
    for (const name of ['hello', 'screen', 'settings', 'page']) {
      source.addEventListener(name, (event) => handlers[name](parse(event.data)));
    }
    source.addEventListener('error', () => {
      handlers.lost();
      if (source.readyState === EventSource.CLOSED) setTimeout(open, reopenAfter);
    });
  };
  open();
}

function parse(data) {
  try {
    return JSON.parse(data);
  } catch {
    return {};
  }
}
