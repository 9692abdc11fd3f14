#include "demospec.h"

namespace Test
{
const QString Demo_Spec = R"(%define name                            demo
Name:                                   %{name}
Version:                                1.0.0
Packager:                               Ana Lima <ana@example.org>
Requires:                               glibc
%global __provides_exclude_from ^%{_libdir}/%{name}/.*$
%global __requires_exclude ^(libQt5Core)[.]so
%global _build_id_links none

%description
Demo program.

%prep
%setup -q

%build

qmake PREFIX=%{_libdir}/%{name}
make %{?_smp_mflags}

%install

mkdir -p %{buildroot}%{_libdir}/%{name}
mkdir -p %{buildroot}%{_libdir}/%{name}/lib
mkdir -p %{buildroot}%{_libdir}/%{name}/platforms
mkdir -p %{buildroot}%{_datadir}/applications
mkdir -p %{buildroot}%{_datadir}/pixmaps
mkdir -p %{buildroot}%{_bindir}

make install INSTALL_ROOT=%{buildroot}

patchelf --set-rpath '%{_libdir}/%{name}/lib' %{buildroot}%{_libdir}/%{name}/%{name}
echo '[Paths]' > %{buildroot}%{_libdir}/%{name}/qt.conf
echo 'Prefix = .' >> %{buildroot}%{_libdir}/%{name}/qt.conf
echo 'Plugins = .' >> %{buildroot}%{_libdir}/%{name}/qt.conf

install %{_topdir}/shared_libs/lib/libQt5Core.so.5.15.2 %{buildroot}%{_libdir}/%{name}/lib
patchelf --set-rpath '%{_libdir}/%{name}/lib' %{buildroot}%{_libdir}/%{name}/lib/libQt5Core.so.5.15.2
ln -sf libQt5Core.so.5.15.2 %{buildroot}%{_libdir}/%{name}/lib/libQt5Core.so.5.15
ln -sf libQt5Core.so.5.15.2 %{buildroot}%{_libdir}/%{name}/lib/libQt5Core.so.5
ln -sf libQt5Core.so.5.15.2 %{buildroot}%{_libdir}/%{name}/lib/libQt5Core.so


install %{_topdir}/shared_libs/platforms/libqxcb.so %{buildroot}%{_libdir}/%{name}/platforms
patchelf --set-rpath '%{_libdir}/%{name}/lib' %{buildroot}%{_libdir}/%{name}/platforms/libqxcb.so

install %{_topdir}/desktop_menu/%{name}.desktop %{buildroot}%{_datadir}/applications/%{name}.desktop
install %{_topdir}/desktop_menu/%{name}.png %{buildroot}%{_datadir}/pixmaps/%{name}.png

ln -sfr %{buildroot}%{_libdir}/%{name}/%{name} %{buildroot}%{_bindir}/%{name}

%files

%defattr(-,root,root)
%{_libdir}/%{name}
%{_bindir}/%{name}

%defattr(644,root,root)
%{_datadir}/applications/%{name}.desktop
%{_datadir}/pixmaps/%{name}.png

%changelog
- First build
)";
}
